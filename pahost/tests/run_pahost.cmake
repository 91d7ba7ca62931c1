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

# The shell prefix that preloads the fault library FAULTS (io_faults.cc);
# the sanitizers' runtime, when there is one, must not insist on coming
# first in the process.
set(preload "LD_PRELOAD=${FAULTS} ASAN_OPTIONS=\"$ASAN_OPTIONS:verify_asan_link_order=0\"")

# Sets `setting`, `status` and `output` from a table ROW
# "SETTING|STATUS|OUTPUT" of fault runs.
function(fault_row row)
  string(REPLACE "|" ";" parts "${row}")
  foreach(name IN ITEMS setting status output)
    list(POP_FRONT parts value)
    set(${name} "${value}" PARENT_SCOPE)
  endforeach()
endfunction()

# The data file at WORK/40.tif with its time stamp left out, in OUT_VAR.
function(read_data_file out_var)
  file(READ ${WORK}/40.tif text)
  string(REGEX REPLACE "[0-9-]+T[0-9:]+Z" "" text "${text}")
  set(${out_var} "${text}" PARENT_SCOPE)
endfunction()

# Runs `pahost --out WORK/40.tif RETURN_FILE`, which must end with exit
# status 0, a report matching REPORT and nothing matching ABSENT, and a
# data file holding every line of ARGN (a field code and its value); gives
# back `run_output` and the data file in `written`.
function(expect_report_and_records return_file report absent)
  file(REMOVE ${WORK}/40.tif)
  run("" 0 "${report}" --out ${WORK}/40.tif ${return_file})
  if(run_output MATCHES "${absent}")
    message(FATAL_ERROR "the report shows ${absent}:\n${run_output}")
  endif()
  read_data_file(text)
  foreach(line IN LISTS ARGN)
    if(NOT text MATCHES "\n${line}\n")
      message(FATAL_ERROR "the data file lacks the line ${line}:\n${text}")
    endif()
  endforeach()
  set(run_output "${run_output}" PARENT_SCOPE)
  set(written "${text}" PARENT_SCOPE)
endfunction()
