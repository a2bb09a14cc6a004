# Runs quadrill-sim twice with the same arguments and fails unless both
# runs print the same, leaving out the "timing" lines, which measure the
# machine rather than the match.
foreach(run first second)
  execute_process(COMMAND "${SIM}" ${ARGS}
    OUTPUT_VARIABLE output RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "quadrill-sim failed (${result}):\n${output}")
  endif()
  string(REGEX REPLACE "timing[^\n]*\n" "" ${run} "${output}")
  message(STATUS "${run} run:\n${${run}}")
endforeach()
if(NOT first MATCHES "match 3: ")
  message(FATAL_ERROR "quadrill-sim did not play three matches")
endif()
if(NOT first STREQUAL second)
  message(FATAL_ERROR "two runs with the same seed differ")
endif()
