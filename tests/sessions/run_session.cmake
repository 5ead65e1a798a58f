# Runs one session script and compares its output with the expected file.
execute_process(COMMAND ${KORVOUI} run ${SESSION}
  OUTPUT_FILE ${OUT} ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "korvoui run exited ${rc}: ${err}")
endif()
file(READ ${OUT} actual)
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
  execute_process(COMMAND diff -u ${EXPECTED} ${OUT})
  message(FATAL_ERROR "output of ${SESSION} differs from ${EXPECTED}")
endif()
