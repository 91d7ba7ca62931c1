# Runs pahost (PAHOST) on RETURN with its data file going to WORK/40.tif,
# where an older file lies and the writer cannot make its temporary file
# (a folder stands in its place): the run must fail with exit status 1 and
# leave the older file as it was, with nothing set aside beside it.
include(${CMAKE_CURRENT_LIST_DIR}/sanitizer_report.cmake)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/40.tif.tmp)
file(WRITE ${WORK}/40.tif "an older data file\n")
execute_process(COMMAND ${PAHOST} --out ${WORK}/40.tif ${RETURN}
                OUTPUT_QUIET ERROR_VARIABLE err RESULT_VARIABLE rc)
file(READ ${WORK}/40.tif kept)
file(GLOB left_aside ${WORK}/.pahost-*)
if(NOT rc STREQUAL "1" OR NOT kept STREQUAL "an older data file\n" OR left_aside
   OR err MATCHES "${SANITIZER_REPORT}")
  message(FATAL_ERROR "exit status ${rc}; the data file now holds: ${kept}; set aside: "
                      "${left_aside}\n${err}")
endif()
