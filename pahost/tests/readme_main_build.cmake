# Checks that the README's main job builds what it runs and no test: the
# build step of its first command ("cmake --build build ..."), run dry in
# the build tree BUILD (a Makefile generator's), must make pahost and no
# target of a tests folder.
file(STRINGS ${README} commands REGEX "^    cmake -S \\. -B build && ")
list(LENGTH commands count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "the README should hold one main job command, it holds ${count}")
endif()
if(NOT commands MATCHES "cmake --build build([^&]*)&&")
  message(FATAL_ERROR "no build step in the README's main job command: ${commands}")
endif()
separate_arguments(args UNIX_COMMAND "${CMAKE_MATCH_1}")
# The job count does not change what is made.
list(FILTER args EXCLUDE REGEX "^-j")
# make keeps going past objects a dry run cannot show made (in a tree not
# yet built), so every target the step reaches is listed.
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD} ${args} -- -n -k
                OUTPUT_VARIABLE plan ERROR_VARIABLE plan)
string(REGEX MATCHALL "[A-Za-z0-9_./-]*/CMakeFiles/[A-Za-z0-9_]+\\.dir" made "${plan}")
list(REMOVE_DUPLICATES made)
set(tests "${made}")
list(FILTER tests INCLUDE REGEX "(^|/)tests/CMakeFiles/")
if(tests)
  list(JOIN tests "\n  " tests)
  message(FATAL_ERROR "the README's main job builds tests:\n  ${tests}")
endif()
if(NOT made MATCHES "pahost/CMakeFiles/pahost\\.dir")
  message(FATAL_ERROR "the README's main job does not build pahost:\n${plan}")
endif()
