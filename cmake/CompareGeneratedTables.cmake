# Regenerates the scaling tables into OUT_DIR and fails when any differs from
# the copy shipped in data/.
file(REMOVE_RECURSE "${OUT_DIR}")
file(MAKE_DIRECTORY "${OUT_DIR}")
execute_process(COMMAND "${PYTHON3}" "${SOURCE_DIR}/tools/gen_scale_tables.py" "${OUT_DIR}"
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "table generator failed: ${rc}")
endif()
file(GLOB generated RELATIVE "${OUT_DIR}" "${OUT_DIR}/*")
if(NOT generated)
  message(FATAL_ERROR "the generator wrote no tables")
endif()
foreach(name IN LISTS generated)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${OUT_DIR}/${name}" "${SOURCE_DIR}/data/${name}"
                  RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "data/${name} differs from what tools/gen_scale_tables.py generates")
  endif()
endforeach()
