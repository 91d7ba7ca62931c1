# Calculates the example return RETURN with `pahost --dump` (PAHOST) and
# checks the dump against the expected lines in EXPECTED.
#
# EXPECTED holds lines in the dump's own format, "FORM:copy:FIELD:value",
# and comment lines starting with "#"; the comment just before a field
# line names it in the failure report. For every field line the dump must
# hold that field with exactly that value text (numbers as the dump writes
# them: the shortest text that reads back, "-8000", "1289"). The dump
# leaves null fields out, so an expected value of 0 is met by a field that
# is 0 or absent; any other expected value needs the field. Fields the
# file does not name are not checked.
#
# The run must also succeed, skip no line of the return and give no
# sanitizer report. Every differing field is listed, not only the first.
include(${CMAKE_CURRENT_LIST_DIR}/pahost_dump.cmake)
pahost_dump(out ${RETURN})

set(dump "\n${out}")
file(STRINGS ${EXPECTED} lines)
set(label "")
set(checked 0)
set(failures "")
foreach(line IN LISTS lines)
  if(line STREQUAL "")
    continue()
  elseif(line MATCHES "^# *(.*)$")
    set(label "${CMAKE_MATCH_1}")
    continue()
  elseif(NOT line MATCHES "^([^:]+:[^:]+:[^:]+):(.*)$")
    message(FATAL_ERROR "${EXPECTED}: not a field line: ${line}")
  endif()
  set(key "${CMAKE_MATCH_1}")
  set(want "${CMAKE_MATCH_2}")
  math(EXPR checked "${checked} + 1")

  set(got "")
  string(FIND "${dump}" "\n${key}:" at)
  if(NOT at EQUAL -1)
    string(LENGTH "\n${key}:" head)
    math(EXPR at "${at} + ${head}")
    string(SUBSTRING "${dump}" ${at} -1 rest)
    string(FIND "${rest}" "\n" end)
    string(SUBSTRING "${rest}" 0 ${end} got)
  endif()

  if(got STREQUAL want OR (want STREQUAL "0" AND at EQUAL -1))
    continue()
  endif()
  if(at EQUAL -1)
    set(got "(absent)")
  endif()
  string(APPEND failures "  ${label}: ${key} expected ${want}, got ${got}\n")
endforeach()

if(NOT failures STREQUAL "")
  message(FATAL_ERROR "${RETURN}: fields that differ from ${EXPECTED}:\n${failures}")
endif()
message(STATUS "${RETURN}: all ${checked} expected fields match")
