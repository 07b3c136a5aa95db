# The table generator's help and a mistyped option, run in an empty folder:
# each shows the usage and exits with its own status, and the folder stays
# empty (an option once became the name of an output folder).
#   cmake -DPYTHON3=... -DSCRIPT=.../gen_scale_tables.py -DWORK_DIR=... -P this
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
# argument | exit status | the stream that carries the usage
foreach(case IN ITEMS "--help|0|OUT" "-h|0|OUT" "--bogus|2|ERR" "-x|2|ERR")
  string(REPLACE "|" ";" fields "${case}")
  list(GET fields 0 arg)
  list(GET fields 1 expected_rc)
  list(GET fields 2 stream)
  execute_process(COMMAND "${PYTHON3}" "${SCRIPT}" "${arg}" WORKING_DIRECTORY "${WORK_DIR}"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE OUT ERROR_VARIABLE ERR)
  if(NOT rc STREQUAL expected_rc OR NOT "${${stream}}" MATCHES "(^|\n)usage: gen_scale_tables\\.py ")
    message(FATAL_ERROR "${arg}: exit status ${rc} (expected ${expected_rc}), usage expected on std${stream}:\n"
                        "${OUT}${ERR}")
  endif()
  file(GLOB left RELATIVE "${WORK_DIR}" "${WORK_DIR}/*")
  if(left)
    message(FATAL_ERROR "${arg}: wrote ${left} into ${WORK_DIR}")
  endif()
endforeach()
