# pahost (PAHOST) writing into the folder WORK, on the return RETURN, with
# the library FAULTS (io_faults.cc) preloaded to fail the file system around
# the lock file and the private folder. Where the file system keeps no
# permissions (every file shows 0755, a chmod is refused or ignored) a run
# writes the same data file as anywhere and leaves nothing behind. A lock
# file record that cannot be read is not written over; a private folder
# that cannot be opened goes again; a federal copy gone when the writer
# opens it fails the write; one that cannot be looked at as it goes stays,
# recorded and told, until the next run removes it; a lock file seen while
# its holder removes it is started over. An older data file stays whole
# wherever the write fails. Where pahost runs from cannot be told, the
# module is asked for.
include(${CMAKE_CURRENT_LIST_DIR}/run_pahost.cmake)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/1.tif "Y 2018\nD FDF1040   001 X T 1\n00001.000.001 FEDERAL\n")
file(COPY_FILE ${RETURN} ${WORK}/return.txt)
execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
set(lock ${WORK}/.pahost.${uid}.lock)
set(older "an older data file\n")
set(out --out ${WORK}/40.tif ${WORK}/return.txt)
string(REPLACE ";" " " args "${out}")
# Nothing of a write is left beside the data file.
function(nothing_left)
  file(READ ${WORK}/40.tif written)
  expect_kept(${WORK}/40.tif "${written}")
endfunction()
# The lock file's record matches PATTERN (the folder that stays), and the
# next run removes that folder.
function(recorded_until_next_run pattern)
  file(READ ${lock} record)
  if(NOT record MATCHES "${pattern}")
    message(FATAL_ERROR "the folder that stays is not recorded as it was: ${record}")
  endif()
  run("" 0 "Data file written" ${out})
  nothing_left()
endfunction()
# A lock file of the user's, as a run leaves it, holding RECORD, with the
# permissions ARGN (only the user's own by default).
function(lock_file record)
  file(WRITE ${lock} "${record}")
  set(others ${ARGN})
  file(CHMOD ${lock} PERMISSIONS OWNER_READ OWNER_WRITE ${others})
endfunction()

run("" 0 "Data file written" ${out})
read_data_file(plain)
# A lock file its group or others may read is refused, as it is, where
# permissions are kept; where they are not, every file shows such access.
foreach(open IN ITEMS "GROUP_READ WORLD_READ|0644" "GROUP_READ|0640")
  string(REGEX REPLACE "\\|.*" "" others "${open}")
  string(REGEX REPLACE ".*\\|0?" "" shown "${open}")
  separate_arguments(others)
  lock_file("" ${others})
  run("" 1 "${lock} is open to others than you \\(its permissions are 0${shown}, not 0600\\)" ${out})
  execute_process(COMMAND stat -c %a ${lock} OUTPUT_VARIABLE mode OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT mode STREQUAL shown)
    message(FATAL_ERROR "the refused lock file's permissions are ${mode} now, not ${shown}")
  endif()
endforeach()
# A run killed while it asks what the file system does with permissions
# leaves such a lock file as refused as it was.
lock_file("the user's own text\n" GROUP_READ WORLD_READ)
execute_process(COMMAND sh -c "${preload} PA_FAULT_PATH=.lock PA_FAULT_KILL=chmod ${PAHOST} ${args}"
                OUTPUT_QUIET ERROR_QUIET)
execute_process(COMMAND stat -c %a ${lock} OUTPUT_VARIABLE mode OUTPUT_STRIP_TRAILING_WHITESPACE)
file(READ ${lock} kept)
if(NOT mode STREQUAL "644" OR NOT kept STREQUAL "the user's own text\n")
  message(FATAL_ERROR "a run killed as it judged the permissions left the lock file ${mode}, holding: ${kept}")
endif()
run("" 1 "${lock} is open to others than you \\(its permissions are 0644, not 0600\\)" ${out})
file(REMOVE ${lock})
# At the name a new lock file is made under, what a holder killed as it
# made one may have left (nothing, or a record) goes with the next run that
# needs the name (a desktop's SMB view records through new lock files);
# a file of the user's holding anything else stays, and so does anything
# at the name where a run does not need it.
set(desktop_share "${preload} PA_FAULT_DIR=${WORK} PA_FAULT_CHMOD=unsupported PA_FAULT_PRIVATE=1 PA_FAULT_REOPEN=1 PA_FAULT_RENAMED=1")
foreach(left IN ITEMS "" ".pahost-Killed\n" ".pahost-Killed 2049 12\n")
  lock_file(".pahost-Killed\n")
  file(WRITE ${lock}.new "${left}")
  run("${desktop_share}" 0 "Data file written" ${out})
  nothing_left()
endforeach()
foreach(users_own IN ITEMS "the user's own text\n" "notes\n")
  lock_file(".pahost-Killed\n")
  file(WRITE ${lock}.new "${users_own}")
  run("${desktop_share}" 1 "through ${lock}.new \\(File exists\\); ${lock}.new is no file pahost made" ${out})
  file(READ ${lock}.new kept)
  if(NOT kept STREQUAL users_own)
    message(FATAL_ERROR "the user's file at ${lock}.new holds: ${kept}")
  endif()
endforeach()
lock_file(".pahost-Killed\n")
file(WRITE ${lock}.new "")
run("" 0 "Data file written" ${out})
if(NOT EXISTS ${lock}.new)
  message(FATAL_ERROR "a run that did not need ${lock}.new removed it")
endif()
file(REMOVE ${lock}.new)
nothing_left()
# A lock file open to others is refused unless a file made to ask shows
# that its file system keeps no permissions: so it is when that file cannot
# be made (a link, a folder or a file of the user's stands at its name,
# each left as it is) or cannot be looked at.
file(WRITE ${WORK}/elsewhere "not pahost's\n")
set(users_own "the user's own text\n")
set(unknown "${lock} is open to others than you \\(its permissions are 0644, not 0600\\), and whether its file system keeps permissions cannot be told")
foreach(kind IN ITEMS link folder file)
  lock_file("" GROUP_READ WORLD_READ)
  if(kind STREQUAL "link")
    file(CREATE_LINK ${WORK}/elsewhere ${lock}.new SYMBOLIC)
  elseif(kind STREQUAL "folder")
    file(MAKE_DIRECTORY ${lock}.new)
  else()
    file(WRITE ${lock}.new "${users_own}")
  endif()
  run("" 1 "${unknown} \\(cannot make ${lock}.new to ask: File exists; ${lock}.new is no file pahost made" ${out})
  if((kind STREQUAL "link" AND NOT IS_SYMLINK ${lock}.new) OR (kind STREQUAL "folder" AND NOT IS_DIRECTORY ${lock}.new))
    message(FATAL_ERROR "the ${kind} at ${lock}.new was not left as it was")
  endif()
  if(kind STREQUAL "file")
    file(READ ${lock}.new kept)
    if(NOT kept STREQUAL users_own)
      message(FATAL_ERROR "the user's file at ${lock}.new holds: ${kept}")
    endif()
  endif()
  file(REMOVE_RECURSE ${lock}.new)
endforeach()
lock_file("" GROUP_READ WORLD_READ)
run("${preload} PA_FAULT_PATH=.lock.new PA_FAULT_FSTATS=0" 1
    "${unknown} \\(${lock}.new, made to ask: cannot look at it: Input/output error\\)" ${out})
if(EXISTS ${lock}.new)
  message(FATAL_ERROR "the file made to ask stays")
endif()
file(REMOVE ${lock})
# Where a file system keeps no permissions, the file made to ask that
# cannot be removed is told, and goes with the next run that needs its
# name; one removed just before the run, still seen, is waited for.
lock_file("" GROUP_READ WORLD_READ)
set(no_modes "${preload} PA_FAULT_DIR=${WORK} PA_FAULT_CHMOD=ignore")
run("${no_modes} PA_FAULT_PATH=.lock.new PA_FAULT_UNLINK=1" 0
    "pahost: cannot remove ${lock}.new, made to ask what its file system does with permissions \\(Input/output error\\): it holds nothing, and the next run that needs its name removes it\n" ${out})
lock_file("" GROUP_READ WORLD_READ)
run("${no_modes} PA_FAULT_LINGER=1000 rm ${lock}.new && ${no_modes} PA_FAULT_LINGER=1000" 0 "Data file written" ${out})
if(EXISTS ${lock}.new)
  message(FATAL_ERROR "the file made to ask stays")
endif()
# One seen for longer than the run waits: the run gives up when its wait
# does, saying how long it waited.
file(REMOVE ${WORK}.removed)
lock_file("" GROUP_READ WORLD_READ)
file(WRITE ${lock}.new "")
run("${no_modes} PA_FAULT_LINGER=4000 rm ${lock}.new && ${no_modes} PA_FAULT_LINGER=4000 PAHOST_LOCK_WAIT=1" 1
    "cannot make ${lock}.new to ask: File exists; a file at ${lock}.new is being removed, still after 1 second\\)" ${out})
file(REMOVE ${lock} ${WORK}.removed)

foreach(chmod IN ITEMS refuse ignore)
  foreach(record IN ITEMS none there)  # this run's own lock file, then one that is there
    if(record STREQUAL there)
      lock_file("" GROUP_READ WORLD_READ)
    endif()
    run("${preload} PA_FAULT_DIR=${WORK} PA_FAULT_CHMOD=${chmod}" 0 "Data file written" ${out})
    read_data_file(fixed)
    nothing_left()
    if(NOT fixed STREQUAL plain)
      message(FATAL_ERROR "without permissions (chmod ${chmod}) the data file differs:\n${fixed}")
    endif()
  endforeach()
endforeach()

foreach(fault IN ITEMS
        "PA_FAULT_PATH=.lock PA_FAULT_READS=0|1|cannot read the lock file ${lock} \\(Input/output error\\)"
        "PA_FAULT_PATH=.pahost- PA_FAULT_OPEN=1|1|cannot open the private folder ${WORK}/.pahost-[A-Za-z0-9]+: Input"
        "PA_FAULT_PATH=/1.tif PA_FAULT_REMOVE=1|1|the copy of the federal file ${WORK}/1.tif left the private folder"
        "PA_FAULT_PATH=.lock PA_FAULT_UNLINKED=1|0|Data file written")
  fault_row("${fault}")
  file(WRITE ${WORK}/40.tif "${older}")
  lock_file(".pahost-Killed\n")
  run("${preload} ${setting}" ${status} "${output}" ${out})
  if(status EQUAL 0)
    nothing_left()
  elseif(EXISTS ${lock})
    file(READ ${lock} record)  # the record it could not read, as it was
    file(REMOVE ${lock})
    expect_kept(${WORK}/40.tif "${older}")
    if(NOT record STREQUAL ".pahost-Killed\n")
      message(FATAL_ERROR "the lock file's record was written over: ${record}")
    endif()
  else()
    expect_kept(${WORK}/40.tif "${older}")
  endif()
endforeach()

run("${preload} PA_FAULT_PATH=.pahost- PA_FAULT_FSTATS=1" 1
    "in place, but the private folder ${WORK}/.pahost-[A-Za-z0-9]+ of this run could not be removed \\(cannot look at it: Input/output error\\)" ${out})
string(REGEX MATCH "\\.pahost-[A-Za-z0-9]+" stays "${run_output}")
recorded_until_next_run("^\\${stays} [0-9]+ [0-9]+\n$")

# A killed run's folder that cannot be opened or looked at (once open, or
# by its name either) stays, recorded and told; the next run removes it.
foreach(fault IN ITEMS "PA_FAULT_OPEN=1|1|cannot open it" "PA_FAULT_FSTATS=0|1|cannot look at it"
                      "PA_FAULT_OPEN=1 PA_FAULT_LOOK=1|1|cannot look at it")
  fault_row("${fault}")
  file(MAKE_DIRECTORY ${WORK}/.pahost-Killed)
  file(WRITE ${WORK}/.pahost-Killed/1.tif "a copy of the federal file\n")
  execute_process(COMMAND stat -c "%d %i" ${WORK}/.pahost-Killed OUTPUT_VARIABLE id OUTPUT_STRIP_TRAILING_WHITESPACE)
  lock_file(".pahost-Killed ${id}\n")
  set(told "the private folder ${WORK}/.pahost-Killed an earlier run left could not be removed")
  run("${preload} PA_FAULT_PATH=.pahost-Killed ${setting}" ${status} "${told} \\(${output}: Input/output error\\)"
      ${out})
  recorded_until_next_run("^\\.pahost-Killed ${id}\n$")
endforeach()

# A killed run's folder, empty, removed just before the run by a program
# on a share that shows a removed folder for a while: seen but not to be
# opened, it is waited for, and the run goes on once it is gone.
file(MAKE_DIRECTORY ${WORK}/.pahost-Killed)
execute_process(COMMAND stat -c "%d %i" ${WORK}/.pahost-Killed OUTPUT_VARIABLE id OUTPUT_STRIP_TRAILING_WHITESPACE)
lock_file(".pahost-Killed ${id}\n")
set(lingers "${preload} PA_FAULT_DIR=${WORK} PA_FAULT_LINGER=1000")
run("${lingers} rmdir ${WORK}/.pahost-Killed && ${lingers}" 0 "Data file written" ${out})
nothing_left()
# One seen for longer than the run waits stays recorded and told, with the
# time the run waited.
file(MAKE_DIRECTORY ${WORK}/.pahost-Killed)
lock_file(".pahost-Killed\n")
set(lingers "${preload} PA_FAULT_DIR=${WORK} PA_FAULT_LINGER=4000")
run("${lingers} rmdir ${WORK}/.pahost-Killed && ${lingers} PAHOST_LOCK_WAIT=1" 1
    "the private folder ${WORK}/.pahost-Killed an earlier run left could not be removed \\(cannot open it: No such file or directory, still after 1 second: it is being removed\\)"
    ${out})
file(REMOVE ${WORK}.removed)

# A lock file removed that a share still shows for longer than a run waits
# for it: the run gives up, saying what it saw.
file(REMOVE ${lock})
file(WRITE ${lock} "")
set(lingers_long "${preload} PA_FAULT_DIR=${WORK} PA_FAULT_LINGER=7000")
run("${lingers_long} rm ${lock} && ${lingers_long} PAHOST_LOCK_WAIT=5" 1
    "the lock file ${lock} is there with no name left, still after 5 seconds: it is being removed" ${out})
# A removal waited for ends only with the run's wait: one shown for longer
# than a removal once lasted at most (5 seconds), but not than the wait.
file(REMOVE ${lock} ${WORK}.removed)
file(WRITE ${lock} "")
set(lingers_long "${preload} PA_FAULT_DIR=${WORK} PA_FAULT_LINGER=6000")
run("${lingers_long} rm ${lock} && ${lingers_long}" 0 "Data file written" ${out})
file(REMOVE ${lock} ${WORK}.removed)

# A share that stops answering fails every chmod (EIO): the run says so and
# leaves nothing of its own; once the share answers, a run leaves nothing.
run("${preload} PA_FAULT_DIR=${WORK} PA_FAULT_CHMOD=fail" 1
    "the private folder ${WORK}/.pahost-[A-Za-z0-9]+ shows access for others \\(its permissions are 0755\\), and whether others may enter it cannot be told: chmod to 0700 failed: Input/output error"
    ${out})
file(GLOB left ${WORK}/.pahost-*)
if(left)
  message(FATAL_ERROR "a run whose chmod failed left ${left}")
endif()
run("" 0 "Data file written" ${out})
nothing_left()

# Where the lock file must be made anew (a desktop's SMB view, files shown
# open to their owner alone), something at its new name that is not a lock
# file of the user's (a link, a folder) is refused and left as it is.
file(WRITE ${WORK}/elsewhere "not pahost's\n")
foreach(kind IN ITEMS link folder)
  lock_file(".pahost-Killed\n")
  if(kind STREQUAL "link")
    file(CREATE_LINK ${WORK}/elsewhere ${lock}.new SYMBOLIC)
  else()
    file(MAKE_DIRECTORY ${lock}.new)
  endif()
  run("${preload} PA_FAULT_DIR=${WORK} PA_FAULT_CHMOD=unsupported PA_FAULT_PRIVATE=1 PA_FAULT_REOPEN=1 PA_FAULT_RENAMED=1"
      1 "through ${lock}.new \\(File exists\\); ${lock}.new is no file pahost made: if it is nothing of yours, remove it" ${out})
  file(READ ${lock} record)
  if(NOT record STREQUAL ".pahost-Killed\n" OR (kind STREQUAL "link" AND NOT IS_SYMLINK ${lock}.new) OR
     (kind STREQUAL "folder" AND NOT IS_DIRECTORY ${lock}.new))
    message(FATAL_ERROR "the ${kind} at ${lock}.new was not left as it was, or the record was written over: ${record}")
  endif()
  file(REMOVE_RECURSE ${lock}.new ${lock})
endforeach()

# An SMB client over FUSE shows a lock file its owner's execute bit and the
# server's hidden mark give: it is taken.
lock_file("" OWNER_EXECUTE)
run("${preload} PA_FAULT_DIR=${WORK} PA_FAULT_CHMOD=execute PA_FAULT_BUSY=1 PA_FAULT_LISTING=1" 0 "Data file written" ${out})
file(SIZE ${lock} size)
file(REMOVE ${lock})
if(NOT size EQUAL 0)
  message(FATAL_ERROR "the lock file kept a record: ${size} bytes")
endif()
nothing_left()

# On the kernel's SMB client a lock the server granted a run killed as it
# asked for it stays with the handle every run shares while any run holds
# the file open: three runs waiting on it let it go together, for a moment,
# and the handle goes with it; each run then takes its turn.
lock_file("")
execute_process(COMMAND stat -c %i ${lock} OUTPUT_VARIABLE inode OUTPUT_STRIP_TRAILING_WHITESPACE)
file(WRITE ${WORK}.stale "${inode} 0\n")
set(smb "${preload} PA_FAULT_DIR=${WORK} PA_FAULT_CHMOD=ignore PA_FAULT_LOCKS=eacces PA_FAULT_SMB=1 PA_FAULT_STALELOCK=1 PAHOST_LOCK_WAIT=40")
set(together "")
foreach(i RANGE 1 3)
  list(APPEND together COMMAND sh -c "${smb} ${PAHOST} ${args} >${WORK}.said.${i} 2>&1")
endforeach()
execute_process(${together} RESULTS_VARIABLE statuses TIMEOUT 120)
file(READ ${WORK}.said.1 said)
if(NOT statuses STREQUAL "0;0;0" OR EXISTS ${WORK}.stale)
  message(FATAL_ERROR "three runs on a lock left with the shared handle ended ${statuses}; the first said:\n${said}")
endif()

# Where pahost runs from cannot be told: the module is asked for.
run("${preload} PA_FAULT_PATH=/proc/self/exe PA_FAULT_OPEN=1" 2
    "cannot tell the folder pahost runs from \\(/proc/self/exe\\): name the module with --module PATH" ${out})
