# The steps of the scripts that run pahost (PAHOST) in a folder of their
# own and check what it left there.
include(${CMAKE_CURRENT_LIST_DIR}/sanitizer_report.cmake)

# Runs pahost with ARGN through the shell command PREFIX ("" for none),
# expects exit status STATUS and the output to match OUTPUT, and gives the
# output back in `run_output`.
function(run prefix status output)
  string(REPLACE ";" " " args "${ARGN}")
  execute_process(COMMAND sh -c "${prefix} ${PAHOST} ${args}" OUTPUT_VARIABLE out ERROR_VARIABLE err
                  RESULT_VARIABLE rc TIMEOUT 60)
  if(NOT rc STREQUAL "${status}" OR NOT "${out}${err}" MATCHES "${output}" OR "${err}" MATCHES "${SANITIZER_REPORT}")
    message(FATAL_ERROR "pahost ${args}: exit status ${rc}, expected ${status} and output matching "
                        "${output}\n${out}${err}")
  endif()
  set(run_output "${out}${err}" PARENT_SCOPE)
endfunction()

# The file at PATH holds EXPECTED and its folder nothing of a write.
function(expect_kept path expected)
  file(READ ${path} kept)
  get_filename_component(folder ${path} DIRECTORY)
  file(GLOB left ${folder}/.pahost*)
  if(NOT kept STREQUAL expected OR left)
    message(FATAL_ERROR "${path} holds: ${kept}; left beside it: ${left}")
  endif()
endfunction()
