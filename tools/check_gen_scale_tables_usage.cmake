# Runs the table generator with its help and with a mistyped option in an
# empty folder: each must show the usage, exit with its own status, and leave
# the folder empty (an option once became the name of an output folder).
#   cmake -DPYTHON3=... -DSCRIPT=.../gen_scale_tables.py -DWORK_DIR=... -P this
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

# argument | expected exit status | stream that carries the usage
set(cases
  "--help|0|stdout"
  "-h|0|stdout"
  "--bogus|2|stderr"
  "-x|2|stderr")

foreach(case IN LISTS cases)
  string(REPLACE "|" ";" fields "${case}")
  list(GET fields 0 arg)
  list(GET fields 1 expected_rc)
  list(GET fields 2 stream)
  execute_process(COMMAND "${PYTHON3}" "${SCRIPT}" "${arg}"
                  WORKING_DIRECTORY "${WORK_DIR}"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc STREQUAL expected_rc)
    message(FATAL_ERROR "${arg}: exit status ${rc}, expected ${expected_rc}\n${out}${err}")
  endif()
  if(stream STREQUAL "stdout")
    set(shown "${out}")
  else()
    set(shown "${err}")
  endif()
  if(NOT shown MATCHES "(^|\n)usage: gen_scale_tables\\.py ")
    message(FATAL_ERROR "${arg}: no usage on ${stream}:\n${out}${err}")
  endif()
  file(GLOB left RELATIVE "${WORK_DIR}" "${WORK_DIR}/*")
  if(left)
    message(FATAL_ERROR "${arg}: wrote ${left} into ${WORK_DIR}")
  endif()
endforeach()
