# Records every script of the golden replays again and fails unless each
# comes out byte for byte as the golden kept beside it: the goldens are
# what their scripts play, and recording stays deterministic.
file(GLOB scripts "${GOLDENS}/*.script")
list(LENGTH scripts count)
if(count LESS 6)
  message(FATAL_ERROR "only ${count} golden scripts in ${GOLDENS}")
endif()
# Recorded twice: once as the C library sees this processor, once told to
# pick its plainer routines (no AVX2, no FMA) as on an older one; the match
# must not notice.
file(MAKE_DIRECTORY "${WORK}")
foreach(hwcaps default "-AVX2,-FMA")
  if(hwcaps STREQUAL "default")
    unset(ENV{GLIBC_TUNABLES})
  else()
    set(ENV{GLIBC_TUNABLES} "glibc.cpu.hwcaps=${hwcaps}")
  endif()
  foreach(script ${scripts})
    get_filename_component(name "${script}" NAME_WE)
    execute_process(COMMAND "${SIM}" --record "${WORK}/${name}.qrpl" --script "${script}"
      RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "${name} (hwcaps ${hwcaps}): recording failed (${result}):\n${output}")
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/${name}.qrpl" "${GOLDENS}/${name}.qrpl"
      RESULT_VARIABLE differ)
    if(NOT differ EQUAL 0)
      message(FATAL_ERROR "${name} (hwcaps ${hwcaps}): recorded again it differs from the golden; if a rule "
                          "changed on purpose, run tests/replays/record-all.sh and say why in the commit")
    endif()
  endforeach()
endforeach()
