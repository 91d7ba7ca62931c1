# Runs pahost (PAHOST) with the options ARGS on the return RETURN, writing
# its data file into WORK, and compares its standard output byte for byte with GOLDEN. The
# module's folder and WORK are written as <bin> and <work>, so that the
# output does not depend on where the project is built.
#
# After a change that is meant to change the output, write the golden file
# anew and review the difference:
#   PA_UPDATE_GOLDEN=1 ctest --test-dir BUILD -R pahost_golden
#
# An older data file is there before the run: it must be replaced, and
# nothing pahost set aside may be left in WORK.
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/40.tif "an older data file\n")
execute_process(COMMAND ${PAHOST} ${ARGS} --out ${WORK}/40.tif ${RETURN}
                WORKING_DIRECTORY ${WORK}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc STREQUAL "0")
  message(FATAL_ERROR "pahost exit status ${rc}\n${err}")
endif()
file(STRINGS ${WORK}/40.tif first_line LIMIT_COUNT 1)
file(GLOB left_aside ${WORK}/.pahost-*)
if(NOT first_line MATCHES "^Y " OR left_aside)
  message(FATAL_ERROR "the older data file was not replaced cleanly: ${left_aside}")
endif()
get_filename_component(bin ${PAHOST} DIRECTORY)
get_filename_component(returnDir ${RETURN} DIRECTORY)
string(REPLACE "${bin}" "<bin>" out "${out}")
string(REPLACE "${WORK}" "<work>" out "${out}")
string(REPLACE "${returnDir}" "<examples>" out "${out}")
if(DEFINED ENV{PA_UPDATE_GOLDEN})
  file(WRITE ${GOLDEN} "${out}")
  message(STATUS "wrote ${GOLDEN}")
  return()
endif()
file(READ ${GOLDEN} want)
if(NOT out STREQUAL want)
  file(WRITE ${WORK}/actual.txt "${out}")
  message(FATAL_ERROR "pahost output differs from ${GOLDEN}; see ${WORK}/actual.txt "
                      "(diff the two; PA_UPDATE_GOLDEN=1 writes it anew)")
endif()
