# Runs `pahost --dump` (PAHOST) on RETURN with the automated-test hooks on
# in WORK, where the scrubber gives the second address line a text that
# starts with a colon: the dump leaves it out, says so and exits with the
# status of a return with skipped lines, 3.
include(${CMAKE_CURRENT_LIST_DIR}/sanitizer_report.cmake)
file(REMOVE_RECURSE ${WORK})
file(WRITE ${WORK}/OrvaneAutoTest_OVQA.xml
     "<AUTOTESTOPTIONS><SCRUBBER>Yes</SCRUBBER><INPUTFIELDLIST>groups.xml</INPUTFIELDLIST></AUTOTESTOPTIONS>\n")
file(WRITE ${WORK}/groups.xml
     "<FIELDGROUPS><FIELDGROUP ENTITY=\"PA\"><FIELDREF FORM=\"PARETURNINFO\" COPY=\"1\" "
     "FIELD=\"kPARETURNINFO_F42\" VALUE=\":Apt 2B\"/></FIELDGROUP></FIELDGROUPS>\n")
execute_process(COMMAND ${PAHOST} --dump --autotest ${WORK} ${RETURN}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
set(problems "")
if(NOT rc STREQUAL "3")
  string(APPEND problems "exit status ${rc}, expected 3\n")
endif()
if(NOT err MATCHES "pahost: the dump leaves out 1 text the format cannot carry")
  string(APPEND problems "standard error does not say that a text was left out:\n${err}\n")
endif()
if(NOT out MATCHES "\nPARETURNINFO:1:F41:418 Walnut Street\n" OR out MATCHES "\nPARETURNINFO:1:F42:")
  string(APPEND problems "the dump lacks the first address line or has the second:\n${out}\n")
endif()
fail_on_problems("${problems}" "${out}${err}")
