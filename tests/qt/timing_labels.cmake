# Read by CTest: the tests listed in qex_timing_tests get the `timing` label beside `unit`.
foreach(test IN LISTS qex_timing_tests)
  set_tests_properties(${test} PROPERTIES LABELS "unit;timing")
endforeach()
