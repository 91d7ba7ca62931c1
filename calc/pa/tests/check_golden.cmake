# Calculates the golden return RETURN with `pahost --dump` (PAHOST) and
# compares the whole dump, both returns after the calculation, with the
# golden dump GOLDEN byte for byte. The run must succeed, skip no line of
# the return and give no sanitizer report. pahost runs in WORK, where a
# differing dump is also written (NAME.dump) for a diff against GOLDEN.
#
# With -DUPDATE=1 the dump is written to GOLDEN instead: that is how a
# golden dump is made or remade after a change of behaviour that is meant
# (review the difference with `git diff` before committing it). Every
# golden file at once: `cmake --build BUILD --target update_golden`.
cmake_policy(SET CMP0007 NEW)
include(${CMAKE_CURRENT_LIST_DIR}/../../../pahost/tests/pahost_dump.cmake)
file(MAKE_DIRECTORY ${WORK})
set(PAHOST_DUMP_DIR ${WORK})
pahost_dump(out ${RETURN})

if(UPDATE)
  file(WRITE ${GOLDEN} "${out}")
  message(STATUS "${GOLDEN} written")
  return()
endif()

file(READ ${GOLDEN} golden)
if(out STREQUAL golden)
  message(STATUS "${RETURN}: the dump matches ${GOLDEN}")
  return()
endif()

get_filename_component(name ${GOLDEN} NAME)
file(WRITE ${WORK}/${name} "${out}")
# The differing lines, at most ten (semicolons and brackets, which CMake
# lists treat specially, stand in as <59>, <91> and <93>).
foreach(text IN ITEMS out golden)
  string(REPLACE ";" "<59>" ${text} "${${text}}")
  string(REPLACE "[" "<91>" ${text} "${${text}}")
  string(REPLACE "]" "<93>" ${text} "${${text}}")
  string(REPLACE "\n" ";" ${text} "${${text}}")
endforeach()
list(LENGTH out got_lines)
list(LENGTH golden want_lines)
set(report "")
set(shown 0)
set(line 0)
while(shown LESS 10 AND (line LESS got_lines OR line LESS want_lines))
  set(got "(none)")
  set(want "(none)")
  if(line LESS got_lines)
    list(GET out ${line} got)
  endif()
  if(line LESS want_lines)
    list(GET golden ${line} want)
  endif()
  math(EXPR line "${line} + 1")
  if(NOT got STREQUAL want)
    string(APPEND report "  line ${line}: expected ${want}\n  line ${line}: got      ${got}\n")
    math(EXPR shown "${shown} + 1")
  endif()
endwhile()
message(FATAL_ERROR "${RETURN}: the dump differs from ${GOLDEN} (${got_lines} lines, golden "
                    "${want_lines}); the dump is in ${WORK}/${name}\n${report}")
