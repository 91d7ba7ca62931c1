# pahost (PAHOST) on the return RETURN, writing into the folder WORK as it
# would on other file systems, which the library FAULTS (io_faults.cc)
# stands in for. On each: a first run, an update, a run killed mid-write,
# then two runs after the file system was mounted again. Every run that
# ends writes the same data file as in an ordinary folder and leaves
# nothing of pahost's beside it (the killed run's private folder and lock
# file go with the next run); the killed one leaves the older file whole.
include(${CMAKE_CURRENT_LIST_DIR}/run_pahost.cmake)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(out --out ${WORK}/40.tif ${RETURN})
string(REPLACE ";" " " args "${out}")
execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
set(federal "Y 2018\nD FDF1040   001 X T 1\n00001.000.001 FEDERAL\n")
file(WRITE ${WORK}/1.tif "${federal}")
run("" 0 "Data file written" ${out})
read_data_file(plain)

# Each file system: its name, then its settings.
foreach(row IN ITEMS
        "FAT (the kernel's driver)|PA_FAULT_CHMOD=refuse PA_FAULT_RENUMBER=1"
        "exFAT over FUSE|PA_FAULT_CHMOD=ignore PA_FAULT_RENUMBER=1"
        "FAT open to its owner alone|PA_FAULT_CHMOD=ignore PA_FAULT_PRIVATE=1 PA_FAULT_RENUMBER=1"
        "a desktop's SMB view|PA_FAULT_CHMOD=unsupported PA_FAULT_REOPEN=1 PA_FAULT_RENUMBER=1"
        "SMB over FUSE|PA_FAULT_CHMOD=execute PA_FAULT_BUSY=1 PA_FAULT_RENUMBER=1"
        "a FUSE driver without chmod|PA_FAULT_CHMOD=nosys PA_FAULT_RENUMBER=1"
        "ext4 mounted as another device|")
  string(REGEX REPLACE "\\|.*" "" kind "${row}")
  string(REGEX REPLACE "^[^|]*\\|" "" settings "${row}")
  file(REMOVE_RECURSE ${WORK})
  file(MAKE_DIRECTORY ${WORK})
  file(WRITE ${WORK}/1.tif "${federal}")
  set(mounted "${preload} PA_FAULT_DIR=${WORK} ${settings} PA_FAULT_MOUNT")
  foreach(step IN ITEMS first update killed again last)
    if(step STREQUAL "killed")
      file(READ ${WORK}/40.tif older)
      execute_process(COMMAND sh -c "${mounted}=1 PA_FAULT_PATH=40.tif.tmp PA_FAULT_KILL=1 ${PAHOST} ${args}"
                      OUTPUT_QUIET ERROR_QUIET RESULT_VARIABLE rc)
      file(READ ${WORK}/40.tif now)
      file(GLOB left ${WORK}/.pahost-*)
      if(rc STREQUAL "0" OR NOT now STREQUAL older OR NOT left)
        message(FATAL_ERROR "${kind}: the killed run ended ${rc}, left ${left}, and the older file holds:\n${now}")
      endif()
      if(settings MATCHES "REOPEN")  # a lock file made anew by a holder killed before it took the name
        file(WRITE ${WORK}/.pahost.${uid}.lock.new "")
      endif()
      continue()
    endif()
    set(mount 1)
    if(step STREQUAL "again" OR step STREQUAL "last")
      set(mount 2)
    endif()
    run("${mounted}=${mount}" 0 "Data file written" ${out})
    read_data_file(written)
    file(READ ${WORK}/40.tif whole)
    expect_kept(${WORK}/40.tif "${whole}")
    if(NOT written STREQUAL plain)
      message(FATAL_ERROR "${kind}, ${step} run: the data file differs:\n${written}")
    endif()
  endforeach()
endforeach()
