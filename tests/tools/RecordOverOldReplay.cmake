# quadrill-sim --record over an old replay puts the new one in its place
# whole: a second name for the old file (a hard link) keeps the old bytes,
# which a file emptied and written again in place would not, and nothing
# is left beside it.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(WRITE "${WORK}/match.qrpl" "the old replay")
file(CREATE_LINK "${WORK}/match.qrpl" "${WORK}/second-name.qrpl")
execute_process(COMMAND "${SIM}" --record "${WORK}/match.qrpl" --script "${SCRIPT}"
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "recording failed (${result}):\n${output}")
endif()
file(READ "${WORK}/second-name.qrpl" old)
if(NOT old STREQUAL "the old replay")
  message(FATAL_ERROR "the old replay was written over in place, not replaced whole")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/match.qrpl" "${GOLDEN}" RESULT_VARIABLE differ)
if(NOT differ EQUAL 0)
  message(FATAL_ERROR "the new replay is not the one its script records")
endif()
file(GLOB left RELATIVE "${WORK}" "${WORK}/*")
list(SORT left)
if(NOT left STREQUAL "match.qrpl;second-name.qrpl")
  message(FATAL_ERROR "files left beside the replay: ${left}")
endif()
