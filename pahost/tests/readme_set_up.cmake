# Configures the README's two commands (README, in the checkout SOURCE)
# into folders under WORK as on a machine without GoogleTest: the main job
# must configure, the test command must fail, so that CI never passes
# without its tests.
file(STRINGS ${README} commands REGEX "^    cmake -S \\. -B build(-asan)? ")
list(LENGTH commands count)
if(NOT count EQUAL 2)
  message(FATAL_ERROR "the README should hold two set-up commands, it holds ${count}")
endif()
file(REMOVE_RECURSE ${WORK})
set(fails 0 1)  # the main job's configuration does not fail, the test command's does
foreach(command expected IN ZIP_LISTS commands fails)
  string(REGEX REPLACE " *&&.*" "" configure "${command}")
  string(REGEX REPLACE "-B ([^ ]+)" "-B ${WORK}/\\1" configure "${configure}")
  separate_arguments(configure UNIX_COMMAND "${configure}")
  execute_process(COMMAND ${configure} -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON WORKING_DIRECTORY ${SOURCE}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  # The test command must fail for want of GoogleTest, and for nothing else.
  set(as_expected 0)
  if((expected EQUAL 0 AND rc EQUAL 0) OR (expected EQUAL 1 AND NOT rc EQUAL 0 AND out MATCHES "GTest"))
    set(as_expected 1)
  endif()
  if(NOT as_expected)
    message(FATAL_ERROR "without GoogleTest, ${configure} ended ${rc}:\n${out}")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK})
