# What a sanitizer report in a run's output looks like; included by the
# test scripts, which fail a run whose output matches it.
set(SANITIZER_REPORT "runtime error|AddressSanitizer|LeakSanitizer")
