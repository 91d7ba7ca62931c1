# pahost (PAHOST) on the return RETURN, writing into the folder WORK as it
# would on other file systems, which the library FAULTS (io_faults.cc,
# stand_in_fs.cc) stands in for. On each, once alone and once with a
# federal 1.tif beside the data file: a first run, an update, a run killed
# mid-write, two runs after the file system was mounted again, then five
# runs at once, each taking its turn. Every run that ends writes the same
# data file as in an ordinary folder and leaves nothing of pahost's beside
# it (the killed run's private folder goes with the next run; where a file
# held open cannot be removed, and on the kernel's SMB client, an empty lock
# file stays); the killed one leaves the older file whole. Where a removed
# file is still seen for a while (the kernel's SMB client), a holder leaves
# the lock file, so that no run waits for its removed name.
include(${CMAKE_CURRENT_LIST_DIR}/run_pahost.cmake)
set(out --out ${WORK}/40.tif ${RETURN})
string(REPLACE ";" " " args "${out}")
execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
set(lock ${WORK}/.pahost.${uid}.lock)
set(federal_data "Y 2018\nD FDF1040   001 X T 1\n00001.000.001 FEDERAL\n")

# An empty folder, with the federal file 1.tif when VARIANT is "federal".
function(fresh_folder variant)
  file(REMOVE_RECURSE ${WORK})
  file(MAKE_DIRECTORY ${WORK})
  if(variant STREQUAL "federal")
    file(WRITE ${WORK}/1.tif "${federal_data}")
  endif()
endfunction()

# The data file as an ordinary folder has it, for each variant.
foreach(variant IN ITEMS alone federal)
  fresh_folder(${variant})
  run("" 0 "Data file written" ${out})
  read_data_file(plain_${variant})
endforeach()

# Nothing of pahost's is left in WORK but, where KEEPS_LOCK, an empty lock
# file; the data file is the ordinary folder's.
function(expect_clean what keeps_lock)
  if(keeps_lock AND EXISTS ${lock})
    file(SIZE ${lock} size)
    if(size EQUAL 0)
      file(REMOVE ${lock})
    endif()
  endif()
  file(READ ${WORK}/40.tif whole)
  expect_kept(${WORK}/40.tif "${whole}")
  read_data_file(written)
  if(NOT written STREQUAL "${plain_${variant}}")
    message(FATAL_ERROR "${what}: the data file differs:\n${written}")
  endif()
endfunction()

# Each file system: its name, then its settings.
foreach(row IN ITEMS
        "FAT (the kernel's driver)|PA_FAULT_CHMOD=refuse PA_FAULT_RENUMBER=1"
        "exFAT over FUSE|PA_FAULT_CHMOD=ignore PA_FAULT_RENUMBER=1"
        "FAT open to its owner alone|PA_FAULT_CHMOD=ignore PA_FAULT_PRIVATE=1 PA_FAULT_RENUMBER=1"
        "a desktop's SMB view|PA_FAULT_CHMOD=unsupported PA_FAULT_REOPEN=1 PA_FAULT_RENAMED=1 PA_FAULT_RENUMBER=1"
        "SMB over FUSE|PA_FAULT_CHMOD=execute PA_FAULT_BUSY=1 PA_FAULT_LETGO=30 PA_FAULT_LISTING=1 PA_FAULT_RENUMBER=1"
        "the kernel's SMB client|PA_FAULT_CHMOD=ignore PA_FAULT_LOCKS=eacces PA_FAULT_SMB=1 PA_FAULT_LINGER=300"
        "a FUSE driver without chmod|PA_FAULT_CHMOD=nosys PA_FAULT_RENUMBER=1"
        "ext4 mounted as another device|")
  string(REGEX REPLACE "\\|.*" "" kind "${row}")
  string(REGEX REPLACE "^[^|]*\\|" "" settings "${row}")
  set(keeps_lock OFF)
  if(settings MATCHES "BUSY|SMB")
    set(keeps_lock ON)
  endif()
  set(mounted "${preload} PA_FAULT_DIR=${WORK} ${settings} PA_FAULT_MOUNT")
  foreach(variant IN ITEMS alone federal)
    fresh_folder(${variant})
    foreach(step IN ITEMS first update killed again last)
      set(what "${kind}, ${variant}, ${step} run")
      if(step STREQUAL "killed")
        file(READ ${WORK}/40.tif older)
        execute_process(COMMAND sh -c "${mounted}=1 PA_FAULT_PATH=40.tif.tmp PA_FAULT_KILL=1 ${PAHOST} ${args}"
                        OUTPUT_QUIET ERROR_QUIET RESULT_VARIABLE rc)
        file(READ ${WORK}/40.tif now)
        file(GLOB left ${WORK}/.pahost-*)
        if(rc STREQUAL "0" OR NOT now STREQUAL older OR NOT left)
          message(FATAL_ERROR "${what}: it ended ${rc}, left ${left}, and the older file holds:\n${now}")
        endif()
        if(settings MATCHES "REOPEN")  # a lock file made anew by a holder killed before it took the name
          file(WRITE ${lock}.new "")
        endif()
        continue()
      endif()
      set(mount 1)
      if(step STREQUAL "again" OR step STREQUAL "last")
        set(mount 2)
      endif()
      run("${mounted}=${mount}" 0 "Data file written" ${out})
      expect_clean("${what}" ${keeps_lock})
    endforeach()
    # Five runs at once (a pipeline's commands run side by side), each
    # saying what it says into a file of its own.
    set(together "")
    foreach(i RANGE 1 5)
      list(APPEND together COMMAND sh -c "${mounted}=2 ${PAHOST} ${args} >${WORK}.said.${i} 2>&1")
    endforeach()
    execute_process(${together} RESULTS_VARIABLE statuses TIMEOUT 120)
    if(NOT statuses STREQUAL "0;0;0;0;0")
      file(READ ${WORK}.said.1 said)
      message(FATAL_ERROR "${kind}, ${variant}, five runs at once ended ${statuses}; the first said:\n${said}")
    endif()
    foreach(i RANGE 1 5)  # each took its turn
      file(READ ${WORK}.said.${i} said)
      if(said MATCHES "cannot lock")
        message(FATAL_ERROR "${kind}, ${variant}, five runs at once: one went on without its turn:\n${said}")
      endif()
    endforeach()
    expect_clean("${kind}, ${variant}, five runs at once" ${keeps_lock})
  endforeach()
endforeach()
