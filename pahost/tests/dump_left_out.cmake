# Runs `pahost --dump` (PAHOST) on RETURN with the automated-test hooks on
# in WORK, where the scrubber gives the second address line a text that
# starts with a colon: the dump leaves it out, says so and exits with the
# status of a return with skipped lines, 3. With --efile on REFUSED, a
# return that e-filing refuses, the verdict's status, 4, wins over that 3.
include(${CMAKE_CURRENT_LIST_DIR}/sanitizer_report.cmake)

# Runs pahost --dump with ARGN on `return` and adds what is wrong to
# `problems` and its output to `all`.
function(dump_left_out return status)
  file(REMOVE_RECURSE ${WORK})
  file(WRITE ${WORK}/OrvaneAutoTest_OVQA.xml
       "<AUTOTESTOPTIONS><SCRUBBER>Yes</SCRUBBER><INPUTFIELDLIST>groups.xml</INPUTFIELDLIST></AUTOTESTOPTIONS>\n")
  file(WRITE ${WORK}/groups.xml
       "<FIELDGROUPS><FIELDGROUP ENTITY=\"PA\"><FIELDREF FORM=\"PARETURNINFO\" COPY=\"1\" "
       "FIELD=\"kPARETURNINFO_F42\" VALUE=\":Apt 2B\"/></FIELDGROUP></FIELDGROUPS>\n")
  execute_process(COMMAND ${PAHOST} --dump ${ARGN} --autotest ${WORK} ${return}
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc STREQUAL status)
    string(APPEND problems "${return} ${ARGN}: exit status ${rc}, expected ${status}\n")
  endif()
  if(NOT err MATCHES "pahost: the dump leaves out 1 text the format cannot carry")
    string(APPEND problems "standard error does not say that a text was left out:\n${err}\n")
  endif()
  if(NOT out MATCHES "\nPARETURNINFO:1:F41:418 Walnut Street\n" OR out MATCHES "\nPARETURNINFO:1:F42:")
    string(APPEND problems "the dump lacks the first address line or has the second:\n${out}\n")
  endif()
  set(problems "${problems}" PARENT_SCOPE)
  set(all "${all}${out}${err}" PARENT_SCOPE)
endfunction()

set(problems "")
set(all "")
dump_left_out(${RETURN} 3)
dump_left_out(${REFUSED} 4 --efile)
fail_on_problems("${problems}" "${all}")
