# Loads the return file RETURN with `pahost --dump --no-calc` (PAHOST),
# loads that dump again the same way, and checks that the second dump
# equals the first, that neither run skipped a line, and that no sanitizer
# spoke. A calculated run is checked to keep the sample's input lines.
# Then dump, load, calculate, dump: a calculated dump of RETURN, and of
# RETURN with a refund (more tax withheld), loaded and calculated again,
# dumps the same, explicit Nos and numbers included. WORK is a directory
# for the dumps.
include(${CMAKE_CURRENT_LIST_DIR}/pahost_dump.cmake)

pahost_dump(calculated ${RETURN})
if(NOT calculated MATCHES "FEDCOMMON:0:C1:2\n" OR NOT calculated MATCHES "PARETURNINFO:1:F57:X\n")
  message(FATAL_ERROR "the calculated dump lost the joint filing status:\n${calculated}")
endif()
pahost_dump(first --no-calc ${RETURN})
if(NOT first MATCHES "FEDW2:1:F21:52000\n" OR NOT first MATCHES "PARETURNINFO:1:F46:X\n")
  message(FATAL_ERROR "the dump lacks the sample's lines:\n${first}")
endif()
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/first_dump.txt "${first}")
pahost_dump(second --no-calc ${WORK}/first_dump.txt)
if(NOT first STREQUAL second)
  message(FATAL_ERROR "the second dump differs from the first:\n${first}\n---\n${second}")
endif()

file(READ ${RETURN} sample)
file(WRITE ${WORK}/refund_return.txt "${sample}FEDCOMMON:0:WITHHELD:4000\n")
pahost_dump(calculated_once ${WORK}/refund_return.txt)
if(NOT calculated_once MATCHES "PARETURNINFO:1:F16:\\[NO\\]\n")
  message(FATAL_ERROR "the calculated dump lacks the explicit No of field 16:\n${calculated_once}")
endif()
file(WRITE ${WORK}/calculated_dump.txt "${calculated_once}")
pahost_dump(calculated_again ${WORK}/calculated_dump.txt)
if(NOT calculated_once STREQUAL calculated_again)
  message(FATAL_ERROR
          "dump, load, calculate, dump differs:\n${calculated_once}\n---\n${calculated_again}")
endif()

file(WRITE ${WORK}/calculated_sample.txt "${calculated}")
pahost_dump(sample_again ${WORK}/calculated_sample.txt)
if(NOT calculated STREQUAL sample_again)
  message(FATAL_ERROR "dump, load, calculate, dump of the sample differs:\n${calculated}\n---\n${sample_again}")
endif()
