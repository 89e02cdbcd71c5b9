# Runs a script that must fail and checks the exit status and the message.
execute_process(COMMAND ${PROGRAM} --headless --script ${SCRIPT}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(rc EQUAL 0)
  message(FATAL_ERROR "the failing script exited with 0")
endif()
string(FIND "${err}" "${EXPECTED}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "expected '${EXPECTED}' in the error output, got: ${err}")
endif()
