# Checks that no function of a non-test source is longer than LIMIT lines
# (signature to closing brace). Run as:
#   cmake -DROOT=<source folder> -DLIMIT=120 -P check_function_length.cmake
#
# A function ends at a "}" alone at the start of a line and begins at the
# last line before it that starts at the left margin (its signature): the
# body is indented, and comments, preprocessor lines and blank lines are not
# beginnings.
cmake_minimum_required(VERSION 3.25)

# Functions not yet split, as "file:name"; each must still be too long (an
# entry that has been mended is an error too).
set(known_long "")

include(${CMAKE_CURRENT_LIST_DIR}/non_test_sources.cmake)
non_test_sources(${ROOT} sources .cc .h .c)
set(faults "")
set(seen_long "")
foreach(source IN LISTS sources)
  file(READ ${ROOT}/${source} text)
  # One list item per line: list separators and brackets out of the way.
  string(REPLACE ";" ":" text "${text}")
  string(REPLACE "[" "(" text "${text}")
  string(REPLACE "]" ")" text "${text}")
  string(REPLACE "\\" "/" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  set(number 0)
  set(start 0)
  set(signature "")
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    if(line STREQUAL "}")
      math(EXPR length "${number} - ${start} + 1")
      if(length GREATER LIMIT)
        string(REGEX MATCH "[A-Za-z_0-9:~]+\\(" name "${signature}")
        string(REPLACE "(" "" name "${name}")
        if("${source}:${name}" IN_LIST known_long)
          list(APPEND seen_long "${source}:${name}")
        else()
          list(APPEND faults "${source}:${start}: ${name}, ${length} lines")
        endif()
      endif()
    elseif(line MATCHES "^[^ \t#/}]")
      set(start ${number})
      set(signature "${line}")
    endif()
  endforeach()
endforeach()
foreach(known IN LISTS known_long)
  if(NOT known IN_LIST seen_long)
    list(APPEND faults "${known}: listed as long, but no longer found so (take it off the list)")
  endif()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "functions longer than ${LIMIT} lines:\n  ${text}")
endif()
