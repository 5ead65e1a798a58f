# Runs `korvoui check` on one script and compares output and exit status.
execute_process(COMMAND ${KORVOUI} check ${SCRIPT} WORKING_DIRECTORY ${DIR}
  OUTPUT_VARIABLE out RESULT_VARIABLE rc)
file(READ ${DIR}/${EXPECTED} expected)
if(NOT rc EQUAL ${RC})
  message(FATAL_ERROR "korvoui check ${SCRIPT} exited ${rc}, expected ${RC}")
endif()
if(NOT out STREQUAL expected)
  message(FATAL_ERROR "output differs:\n${out}\nexpected:\n${expected}")
endif()
