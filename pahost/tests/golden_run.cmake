# Runs pahost (PAHOST) with the options ARGS (separated by blanks) on the
# return RETURN, writing its data file into WORK, and compares its standard
# output byte for byte with GOLDEN. The module's folder, WORK and the return's folder are
# written as <bin>, <work> and <examples>, so that the output does not
# depend on where the project is built.
#
# With -DUPDATE=1 the output is written to GOLDEN instead; after a change
# that is meant to change the output, write every golden file anew with
# `cmake --build BUILD --target update_golden` and review the difference.
#
# An older data file is there before the run: it must be replaced, and
# nothing pahost set aside may be left in WORK.
#
# With -DMARK=1 the run is on a copy of RETURN in WORK/marked with a UTF-8
# byte-order mark in front, which must change nothing of the output.
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/40.tif "an older data file\n")
if(MARK)
  file(READ ${RETURN} text)
  string(ASCII 239 187 191 mark)
  get_filename_component(name ${RETURN} NAME)
  set(RETURN ${WORK}/marked/${name})
  file(WRITE ${RETURN} "${mark}${text}")
endif()
separate_arguments(args UNIX_COMMAND "${ARGS}")
execute_process(COMMAND ${PAHOST} ${args} --out ${WORK}/40.tif ${RETURN}
                WORKING_DIRECTORY ${WORK}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc STREQUAL "${STATUS}")
  message(FATAL_ERROR "pahost exit status ${rc}, expected ${STATUS}\n${err}")
endif()
file(STRINGS ${WORK}/40.tif first_line LIMIT_COUNT 1)
file(GLOB left_aside ${WORK}/.pahost-*)
if(NOT first_line MATCHES "^Y " OR left_aside)
  message(FATAL_ERROR "the older data file was not replaced cleanly: ${left_aside}")
endif()
get_filename_component(bin ${PAHOST} DIRECTORY)
get_filename_component(returnDir ${RETURN} DIRECTORY)
string(REPLACE "${bin}" "<bin>" out "${out}")
string(REPLACE "${returnDir}" "<examples>" out "${out}")
string(REPLACE "${WORK}" "<work>" out "${out}")
if(UPDATE)
  file(WRITE ${GOLDEN} "${out}")
  message(STATUS "wrote ${GOLDEN}")
  return()
endif()
file(READ ${GOLDEN} want)
if(NOT out STREQUAL want)
  file(WRITE ${WORK}/actual.txt "${out}")
  message(FATAL_ERROR "pahost output differs from ${GOLDEN}; see ${WORK}/actual.txt "
                      "(diff the two; the update_golden target writes it anew)")
endif()
