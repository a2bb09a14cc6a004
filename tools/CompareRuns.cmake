# Runs quadrill-sim with the same arguments three times and fails unless every
# run prints the same, leaving out the "timing" lines, which measure the
# machine rather than the match: twice as it is, and once with the C library
# told to pick its plainer routines (no AVX2, no FMA), as on an older
# processor. The match's arithmetic must not depend on which it picks.
# EXPECT, when given, is text the output must hold.
set(runs first second plain)
foreach(run ${runs})
  if(run STREQUAL "plain")
    set(ENV{GLIBC_TUNABLES} "glibc.cpu.hwcaps=-AVX2,-FMA")
  else()
    unset(ENV{GLIBC_TUNABLES})
  endif()
  execute_process(COMMAND "${SIM}" ${ARGS}
    OUTPUT_VARIABLE output RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "quadrill-sim failed (${result}) in the ${run} run:\n${output}")
  endif()
  string(REGEX REPLACE "timing[^\n]*\n" "" ${run} "${output}")
endforeach()
message(STATUS "first run:\n${first}")
if(DEFINED EXPECT AND NOT first MATCHES "${EXPECT}")
  message(FATAL_ERROR "quadrill-sim's output lacks \"${EXPECT}\"")
endif()
if(NOT first STREQUAL second)
  message(FATAL_ERROR "two runs with the same arguments differ:\n${second}")
endif()
if(NOT first STREQUAL plain)
  message(FATAL_ERROR "with GLIBC_TUNABLES=glibc.cpu.hwcaps=-AVX2,-FMA the output differs:\n${plain}")
endif()
