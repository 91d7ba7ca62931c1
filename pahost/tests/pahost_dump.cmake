# pahost_dump(OUT_VAR ARG...): runs `PAHOST --dump ARG...` (in the folder
# PAHOST_DUMP_DIR when it is set) and puts the dump in OUT_VAR. The run must
# succeed, skip no line of the return and give no sanitizer report; the
# script stops with the reason otherwise. Included by the test scripts
# that check dumps.
include(${CMAKE_CURRENT_LIST_DIR}/sanitizer_report.cmake)
function(pahost_dump out_var)
  set(where "")
  if(DEFINED PAHOST_DUMP_DIR)
    set(where WORKING_DIRECTORY ${PAHOST_DUMP_DIR})
  endif()
  execute_process(COMMAND ${PAHOST} --dump ${ARGN} ${where}
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc STREQUAL "0")
    message(FATAL_ERROR "pahost --dump ${ARGN}: exit status ${rc}\n${err}")
  endif()
  if(NOT err MATCHES "[^0-9]0 lines of [^\n]* skipped")
    message(FATAL_ERROR "pahost --dump ${ARGN}: lines that no form takes, or no count of them:\n${err}")
  endif()
  if("${out}${err}" MATCHES "${SANITIZER_REPORT}")
    message(FATAL_ERROR "pahost --dump ${ARGN}: sanitizer report\n${err}")
  endif()
  set(${out_var} "${out}" PARENT_SCOPE)
endfunction()
