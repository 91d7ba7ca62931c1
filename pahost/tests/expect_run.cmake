# Runs pahost (PAHOST), with --module MODULE when MODULE is given and on the
# return file RETURN when that is given, with the options ARGS (separated
# by blanks; the data file goes into the current folder), and checks its exit status (STATUS)
# and that its output, stdout and stderr together, matches OUTPUT.
# Sanitizer reports fail the test whatever the status.
include(${CMAKE_CURRENT_LIST_DIR}/sanitizer_report.cmake)
separate_arguments(args UNIX_COMMAND "${ARGS}")
if(DEFINED MODULE)
  list(APPEND args --module ${MODULE})
endif()
if(DEFINED RETURN)
  list(APPEND args ${RETURN})
endif()
execute_process(COMMAND ${PAHOST} ${args} --out ${CMAKE_CURRENT_BINARY_DIR}/40.tif
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
set(all "${out}${err}")
message(STATUS "pahost exit status ${rc}\n${all}")
if(NOT rc STREQUAL "${STATUS}")
  message(FATAL_ERROR "exit status ${rc}, expected ${STATUS}")
endif()
if(NOT all MATCHES "${OUTPUT}")
  message(FATAL_ERROR "output does not match: ${OUTPUT}")
endif()
if(all MATCHES "${SANITIZER_REPORT}")
  message(FATAL_ERROR "sanitizer report")
endif()
