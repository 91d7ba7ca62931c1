# Runs pahost (PAHOST) on the mistyped return RETURN with its data file
# going to WORK/40.tif: the run must print the rest as usual, list every
# skipped line on standard error exactly as RETURN's .skipped file beside
# it says, write no data file, say so, and exit with status 3.
include(${CMAKE_CURRENT_LIST_DIR}/sanitizer_report.cmake)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${PAHOST} --out ${WORK}/40.tif ${RETURN}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
string(REGEX REPLACE "\\.txt$" ".skipped" listing ${RETURN})
file(READ ${listing} want)
set(problems "")
if(NOT rc STREQUAL "3")
  string(APPEND problems "exit status ${rc}, expected 3\n")
endif()
if(NOT err STREQUAL want)
  string(APPEND problems "standard error differs from ${listing}:\n${err}\n")
endif()
set(usual "9 lines of [^\n]* skipped \\(listed on standard error\\)\n.*Balance: .*")
if(NOT out MATCHES "${usual}No data file written: 9 lines of the return were skipped")
  string(APPEND problems "standard output lacks the count, the balance or the missing data file:\n${out}\n")
endif()
if(EXISTS ${WORK}/40.tif)
  string(APPEND problems "a data file was written\n")
endif()
fail_on_problems("${problems}" "${out}${err}")
