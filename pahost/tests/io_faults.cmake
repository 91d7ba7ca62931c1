# pahost (PAHOST) where reading or writing fails, in the folder WORK, on the
# return RETURN (larger than one block of the reader), with the library
# FAULTS (io_faults.cc) preloaded to fail the file system: a read of the
# return that fails is exit 2; the federal file that cannot be opened or
# read is exit 1; either way the older data file stays whole. A written file
# whose records cannot be counted says so. Reads and writes interrupted by
# a signal change nothing. --out naming the return or the federal file, by
# any name, is exit 2 with nothing written; standard output that cannot
# take the output is exit 1; an endless return and a return of a line too
# many are refused past their bounds, each bound named, while a FIFO return
# is read as before.
include(${CMAKE_CURRENT_LIST_DIR}/run_pahost.cmake)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(older "an older data file\n")
file(WRITE ${WORK}/1.tif "Y 2018\nD FDF1040   001 X T 1\n00001.000.001 FEDERAL\n")
file(COPY_FILE ${RETURN} ${WORK}/return.txt)
set(out --out ${WORK}/40.tif)

foreach(fault IN ITEMS
        "PA_FAULT_PATH=return.txt PA_FAULT_READS=1|2|cannot read the return file [^\n]*: a read failed after line [1-9][0-9]*: Input/output error"
        "PA_FAULT_PATH=/1.tif PA_FAULT_OPEN=1|1|could not be written: cannot open ${WORK}/1.tif: Input/output error"
        "PA_FAULT_PATH=/1.tif PA_FAULT_READS=0|1|could not be written: cannot read ${WORK}/1.tif \\(after line 0\\): Input/output error")
  fault_row("${fault}")
  file(WRITE ${WORK}/40.tif "${older}")
  run("${preload} ${setting}" ${status} "${output}" ${out} ${WORK}/return.txt)
  expect_kept(${WORK}/40.tif "${older}")
endforeach()
run("${preload} PA_FAULT_PATH=/40.tif PA_FAULT_READS=0" 0
    "Data file written to ${WORK}/40.tif \\(its records could not be counted: Input/output error\\)" ${out} ${WORK}/return.txt)

run("" 0 "" ${out} ${WORK}/return.txt)
set(plain_output "${run_output}")
read_data_file(plain_file)
run("${preload} PA_FAULT_EINTR=1" 0 "" ${out} ${WORK}/return.txt)
read_data_file(interrupted_file)
if(NOT run_output STREQUAL plain_output OR NOT interrupted_file STREQUAL plain_file)
  message(FATAL_ERROR "interrupted reads and writes changed the run:\n${run_output}")
endif()

# Nothing is written over the return or the federal file.
file(CREATE_LINK ${WORK}/return.txt ${WORK}/return_link.txt)
file(CREATE_LINK ${WORK}/1.tif ${WORK}/federal_link.tif SYMBOLIC)
file(READ ${WORK}/return.txt return_text)
foreach(target IN ITEMS return.txt return_link.txt ./return.txt)
  run("" 2 "--out names the return file ${WORK}/return.txt: the data file would replace it"
      --out ${WORK}/${target} ${WORK}/return.txt)
endforeach()
run("" 2 "--out names the federal file ${WORK}/1.tif, which the data file is made from"
    --out ${WORK}/federal_link.tif ${WORK}/return.txt)
expect_kept(${WORK}/return.txt "${return_text}")

# Standard output on a full disk.
foreach(options IN ITEMS "" "--dump" "--dump --no-calc")
  run("" 1 "pahost: standard output is incomplete: No space left on device" ${options} ${out} ${WORK}/return.txt
      ">/dev/full")
endforeach()

# An endless return, one of a line too many, and a FIFO.
run("" 2 "/dev/urandom holds more than 64 MiB: not a return file" ${out} /dev/urandom)
string(REPEAT "#\n" 1000001 comments)
file(WRITE ${WORK}/comments.txt "${comments}")
run("" 2 "comments.txt holds more than 1,000,000 lines: not a return file" ${out} ${WORK}/comments.txt)
execute_process(COMMAND mkfifo ${WORK}/fifo.txt)
run("cat ${WORK}/return.txt > ${WORK}/fifo.txt &" 0 "Data file written" ${out} ${WORK}/fifo.txt)
