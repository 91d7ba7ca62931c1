# What a sanitizer report in a run's output looks like; included by the
# test scripts, which fail a run whose output matches it.
set(SANITIZER_REPORT "runtime error|AddressSanitizer|LeakSanitizer")

# Fails the script with the PROBLEMS found (a list of lines, "" for none),
# a sanitizer report in OUTPUT added to them.
function(fail_on_problems problems output)
  if(output MATCHES "${SANITIZER_REPORT}")
    string(APPEND problems "sanitizer report\n")
  endif()
  if(NOT problems STREQUAL "")
    message(FATAL_ERROR "${problems}")
  endif()
endfunction()
