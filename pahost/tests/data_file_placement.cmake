# Where pahost (PAHOST) puts the data file of RETURN, in the folder WORK:
# the same file, federal data included, under the host's name and another;
# 0600 for a new file, an older file's permissions and group kept; one PA-40
# record for a return with a stale second PA-40; a folder or the federal
# file named by --out is exit 2 and --dump writes no data file; a full file
# system, a read-only folder, a federal file with a line too long to read
# or that is no plain file (a FIFO, a link), and a data file named where a
# FIFO or a device stands are exit 1 with the cause, what
# stood there as it was and nothing left beside it; as root, a file system
# filled to its last byte as well.
include(${CMAKE_CURRENT_LIST_DIR}/run_pahost.cmake)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/empty_folder ${WORK}/read_only)
set(older "an older data file\n")
set(federal "Y 2018\nD FDF1040   001 X T 1\n00001.000.001 FEDERAL\n")

function(expect_mode path mode)
  execute_process(COMMAND stat -c %a ${path} OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT found STREQUAL mode)
    message(FATAL_ERROR "${path} has the permissions ${found}, expected ${mode}")
  endif()
endfunction()

# The same file under any name, with the federal data beside it.
file(WRITE ${WORK}/1.tif "${federal}")
file(WRITE ${WORK}/pa.tif "${older}")
file(CHMOD ${WORK}/pa.tif PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ)
run("" 0 "Data file written" --out ${WORK}/40.tif ${RETURN})
run("" 0 "Data file written" --out ${WORK}/pa.tif ${RETURN})
file(READ ${WORK}/40.tif default_name)
file(READ ${WORK}/pa.tif other_name)
if(NOT default_name STREQUAL other_name OR NOT other_name MATCHES "\n00001.000.001 FEDERAL\n$")
  message(FATAL_ERROR "40.tif and pa.tif differ or lack the federal data:\n${other_name}")
endif()
expect_mode(${WORK}/40.tif 600)
expect_mode(${WORK}/pa.tif 640)

# The older file's group: any group for root, else one the user is in
# besides the one a new file gets.
execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND id -G OUTPUT_VARIABLE groups OUTPUT_STRIP_TRAILING_WHITESPACE)
separate_arguments(groups)
list(LENGTH groups group_count)
if(uid STREQUAL "0")
  set(group 4242)
elseif(group_count GREATER 1)
  list(GET groups 1 group)
endif()
if(DEFINED group)
  execute_process(COMMAND chgrp ${group} ${WORK}/pa.tif)
  run("" 0 "Data file written" --out ${WORK}/pa.tif ${RETURN})
  execute_process(COMMAND stat -c %g ${WORK}/pa.tif OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT found STREQUAL group)
    message(FATAL_ERROR "${WORK}/pa.tif has the group ${found}, the older file had ${group}")
  endif()
  expect_mode(${WORK}/pa.tif 640)
else()
  message(STATUS "the user is in one group: the older file's group is not tried")
endif()

# A return files one PA-40.
file(READ ${RETURN} text)
file(WRITE ${WORK}/two_pa40.txt "${text}PA40:2:F253:0\n")
run("" 0 "Data file written" --out ${WORK}/two.tif ${WORK}/two_pa40.txt)
file(STRINGS ${WORK}/two.tif heads REGEX "^D (PA40|PAPARTNHDR) ")
list(LENGTH heads count)
if(NOT count EQUAL 2)
  message(FATAL_ERROR "two PA-40 copies give the records ${heads}")
endif()

run("" 2 "--out names the folder" --out ${WORK}/empty_folder ${RETURN})
if(NOT IS_DIRECTORY ${WORK}/empty_folder)
  message(FATAL_ERROR "the folder named by --out is gone")
endif()
run("" 0 "" --dump --out ${WORK}/dumped.tif ${RETURN})
if(EXISTS ${WORK}/dumped.tif)
  message(FATAL_ERROR "--dump wrote a data file")
endif()

# A full file system: no file may grow past 1 KB (the signal ignored, a
# write fails as on a full disk).
file(WRITE ${WORK}/40.tif "${older}")
run("trap '' XFSZ; ulimit -f 2;" 1 "could not be written: .*File too large" --out ${WORK}/40.tif ${RETURN})
expect_kept(${WORK}/40.tif "${older}")

# A federal file with a line too long to be read whole.
string(REPEAT "x" 70000 long)
file(WRITE ${WORK}/1.tif "D FDF1040   001 X T 1\n${long}\n")
run("" 1 "line 2 of ${WORK}/1.tif is longer than 65536 bytes" --out ${WORK}/40.tif ${RETURN})
expect_kept(${WORK}/40.tif "${older}")

# A federal file that is not a plain file (a FIFO would hang the write, a
# link could bring in any file the user may read), and a data file named
# like the federal file, which it would replace (refused before anything is
# written).
file(REMOVE ${WORK}/1.tif)
execute_process(COMMAND mkfifo ${WORK}/1.tif)
run("" 1 "the federal file ${WORK}/1.tif is not a plain file" --out ${WORK}/40.tif ${RETURN})
expect_kept(${WORK}/40.tif "${older}")
file(REMOVE ${WORK}/1.tif)
file(WRITE ${WORK}/elsewhere.tif "${federal}")
file(CREATE_LINK ${WORK}/elsewhere.tif ${WORK}/1.tif SYMBOLIC)
run("" 1 "the federal file ${WORK}/1.tif is a symbolic link, not a plain file" --out ${WORK}/40.tif ${RETURN})
expect_kept(${WORK}/40.tif "${older}")
file(REMOVE ${WORK}/1.tif)
file(WRITE ${WORK}/1.tif "${federal}")
run("" 2 "--out names the federal file ${WORK}/1.tif, which the data file is made from" --out ${WORK}/1.tif ${RETURN})
expect_kept(${WORK}/1.tif "${federal}")
# Nor is it named like pahost's lock file, or the file that is made anew
# under, in any case of its letters (a file system that ignores case takes
# them for those files).
foreach(own IN ITEMS .pahost.${uid}.lock .pahost.${uid}.lock.new .PAHOST.${uid}.Lock .Pahost.${uid}.LOCK.New)
  run("" 2 "--out names ${WORK}/${own}, a file pahost keeps for itself beside the data files it writes"
      --out ${WORK}/${own} ${RETURN})
  file(GLOB left ${WORK}/.pahost* ${WORK}/.PAHOST* ${WORK}/.Pahost*)
  if(left)
    message(FATAL_ERROR "--out ${own} left ${left}")
  endif()
endforeach()

# A FIFO at the target, and a link to a device: left as they are.
execute_process(COMMAND mkfifo ${WORK}/fifo.tif)
run("" 1 "${WORK}/fifo.tif is a FIFO, not a regular file" --out ${WORK}/fifo.tif ${RETURN})
file(CREATE_LINK /dev/null ${WORK}/null.tif SYMBOLIC)
run("" 1 "${WORK}/null.tif is a character device, not a regular file" --out ${WORK}/null.tif ${RETURN})
execute_process(COMMAND sh -c "test -p ${WORK}/fifo.tif && test -L ${WORK}/null.tif && test -c /dev/null"
                RESULT_VARIABLE changed)
file(GLOB left ${WORK}/.pahost*)
if(changed OR left)
  message(FATAL_ERROR "the FIFO or the link to /dev/null was replaced, or a write left ${left}")
endif()

# A read-only folder: a read-only mount of it for root, whom permissions
# do not stop, else its permissions.
file(WRITE ${WORK}/read_only/40.tif "${older}")
set(folder ${WORK}/read_only)
if(uid STREQUAL "0")
  execute_process(COMMAND unshare --mount true RESULT_VARIABLE no_namespace OUTPUT_QUIET ERROR_QUIET)
  if(no_namespace)
    message(STATUS "no mount namespace here: the read-only folder is not tried")
    return()
  endif()
  run("unshare --mount sh -c 'mount --bind ${folder} ${folder} && mount -o remount,bind,ro ${folder} && exec \"$0\" \"$@\"'"
      1 "could not be written: .*Read-only file system" --out ${folder}/40.tif ${RETURN})
else()
  file(CHMOD ${folder} PERMISSIONS OWNER_READ OWNER_EXECUTE)
  run("" 1 "could not be written: .*Permission denied" --out ${folder}/40.tif ${RETURN})
  file(CHMOD ${folder} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
endif()
expect_kept(${folder}/40.tif "${older}")

# A disk that is full: a small file system filled to its last byte, in a
# mount namespace of its own (root only; elsewhere the limit on a file's
# size above stands in for it). The older file and what is left beside it
# are looked at in the namespace, where that file system is.
if(uid STREQUAL "0")
  set(full ${WORK}/full)
  file(MAKE_DIRECTORY ${full})
  run("unshare --mount sh -c 'mount -t tmpfs -o size=64k tmpfs ${full} && echo an older data file > ${full}/40.tif && (cat /dev/zero > ${full}/fill) 2>/dev/null; \"$0\" \"$@\"; status=$?; cat ${full}/40.tif; ls -A ${full}; exit $status'"
      1 "\nan older data file\n40.tif\nfill\npahost: the data file ${full}/40.tif could not be written: [^\n]*No space left on device\n$"
      --out ${full}/40.tif ${RETURN})
endif()
