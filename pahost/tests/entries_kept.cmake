# The user's entries of a return whose figures used to move from one
# calculation to the next (RETURN, worked by hand in its comments): the
# credit to the estimated account and the donation stay as entered and
# nothing is refunded, in the --out report and in the data file's own
# lines of those fields (field member + 1, sub-field 999). Asked for a
# payment voucher, the return still owes nothing, and its data file holds
# no voucher. With a New York tax of 600 the resident credit takes all of
# the tax and nothing is forgiven: without entries of the user's, Schedule
# SP is no part of the data file. WORK is a folder for the runs.
include(${CMAKE_CURRENT_LIST_DIR}/run_pahost.cmake)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

expect_report_and_records(${RETURN} "Line 31  Credit to your 2019 estimated account +100\n  Line 32  Refund donations +29\nBalance: no refund \\(line 30\\), 100 credited to the 2019 estimated account \\(line 31\\), and 29 donated \\(line 32\\)\n"
                          "Line 30" "00266.999.001 100" "00267.999.001 29" "00265.999.001 0" "00090.999.001 29")

file(READ ${RETURN} lines)
file(WRITE ${WORK}/voucher.txt "${lines}FED183:1:F154:X\n")
expect_report_and_records(${WORK}/voucher.txt "Balance: no refund" "Line 28")
if(written MATCHES "\nD PAESTIMATEDVOUCHERS")
  message(FATAL_ERROR "a payment voucher on a return that owes nothing:\n${written}")
endif()

string(REGEX REPLACE "PASCHEDULESP:[^\n]*\n" "" lines "${lines}")
string(REGEX REPLACE "(PASCHEDULEGL:1:F3618[45]:)381" "\\1600" lines "${lines}")
file(WRITE ${WORK}/credit_takes_all.txt "${lines}")
expect_report_and_records(${WORK}/credit_takes_all.txt "Line 22  Resident credit +411\n" "Line 21")
if(written MATCHES "\nD PASCHEDULESP")
  message(FATAL_ERROR "Schedule SP filed with nothing forgiven:\n${written}")
endif()
