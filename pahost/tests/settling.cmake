# A return settles before anything is shown or filed of it. RETURN's
# figures once settled only on its second calculation: its data file
# (pahost --out) and the report beside it hold
# the lines worked out by hand in its comments, and its dump, loaded and
# calculated again, gives the same dump. RESTLESS is a module whose
# calculation never settles: pahost names the field that still changes,
# stops after a bounded number of calculations and ends with exit status 1,
# writing no data file. WORK is a folder for the runs.
include(${CMAKE_CURRENT_LIST_DIR}/run_pahost.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/pahost_dump.cmake)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

# Lines 21 and 24 of the PA-40 and no tax due, in the report and in the
# data file's own lines of those fields (field member + 1, sub-field 999).
expect_report_and_records(${RETURN} "Line 21  Tax forgiveness credit +86\n  Line 22  Resident credit +160\n  Line 24  Total payments and credits +246\nBalance: nothing to pay and no refund\n"
                          "Line 26" "00229.999.001 86" "00232.999.001 160" "00237.999.001 246" "00250.999.001 0")

# The settled return's dump is settled: calculated again, it changes nothing.
pahost_dump(settled ${RETURN})
file(WRITE ${WORK}/settled.txt "${settled}")
pahost_dump(again ${WORK}/settled.txt)
if(NOT settled STREQUAL again)
  message(FATAL_ERROR "the settled dump changes when calculated again:\n${settled}\n---\n${again}")
endif()

# A calculation that never settles: told, bounded, exit 1, no data file,
# and nothing of the write left beside it.
file(MAKE_DIRECTORY ${WORK}/restless)
set(told "pahost: the return does not settle: each of 8 calculations changed it; the last changed this field:\npahost:   PA-40, copy 1: PA40:1:F244\n")
foreach(job IN ITEMS "--out ${WORK}/restless/40.tif" "--dump")
  run("" 1 "${told}" --module ${RESTLESS} ${job} ${RETURN})
  if(NOT run_output MATCHES "\nNo data file written: the return does not settle")
    message(FATAL_ERROR "pahost ${job} does not say why it wrote no data file:\n${run_output}")
  endif()
endforeach()
# Filed electronically, such a return is not ready, and the verdict says why.
run("" 1 "${told}" --module ${RESTLESS} --efile --out ${WORK}/restless/40.tif ${RETURN})
if(NOT run_output MATCHES "\nE-filing: not ready: the return does not settle")
  message(FATAL_ERROR "pahost --efile does not say the return is not ready as it does not settle:\n${run_output}")
endif()
file(GLOB left ${WORK}/restless/* ${WORK}/restless/.pahost*)
if(left)
  message(FATAL_ERROR "a return that does not settle left: ${left}")
endif()
