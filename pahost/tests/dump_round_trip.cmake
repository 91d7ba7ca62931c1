# Loads the return file RETURN with `pahost --dump` (PAHOST), loads that
# dump again the same way, and checks that the second dump equals the
# first, that neither run skipped a line, and that no sanitizer spoke.
# WORK is a directory for the first dump.
function(dump_run file out_var)
  execute_process(COMMAND ${PAHOST} --dump ${file}
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  message(STATUS "pahost --dump ${file}: exit status ${rc}\n${err}")
  if(NOT rc STREQUAL "0")
    message(FATAL_ERROR "exit status ${rc}")
  endif()
  if(NOT err MATCHES "[^0-9]0 lines of [^\n]* skipped")
    message(FATAL_ERROR "the skipped-line count is missing or not 0")
  endif()
  if("${out}${err}" MATCHES "runtime error|AddressSanitizer|LeakSanitizer")
    message(FATAL_ERROR "sanitizer report")
  endif()
  set(${out_var} "${out}" PARENT_SCOPE)
endfunction()

dump_run(${RETURN} first)
if(NOT first MATCHES "FEDW2:1:F21:52000\n" OR NOT first MATCHES "PARETURNINFO:1:F57:X\n")
  message(FATAL_ERROR "the dump lacks the sample's lines:\n${first}")
endif()
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/first_dump.txt "${first}")
dump_run(${WORK}/first_dump.txt second)
if(NOT first STREQUAL second)
  message(FATAL_ERROR "the second dump differs from the first:\n${first}\n---\n${second}")
endif()
