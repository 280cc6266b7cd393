# Runs the built kinetra-sim on a checked-in scenario and compares its JSON trace with the
# expected one line by line.
# Arguments: TOOL, SCENARIO, EXPECTED, EMULATOR (may be empty).
execute_process(COMMAND ${EMULATOR} ${TOOL} --trace json ${SCENARIO}
                OUTPUT_VARIABLE trace ERROR_VARIABLE messages RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "kinetra-sim ${SCENARIO}: exit ${rc}\n${messages}")
endif()
# The Windows build writes its text output with CR LF line ends.
string(REPLACE "\r\n" "\n" trace "${trace}")
file(READ ${EXPECTED} expected)
if(NOT trace STREQUAL expected)
  message(FATAL_ERROR "the trace of ${SCENARIO} differs from ${EXPECTED}:\n${trace}")
endif()
if(NOT messages MATCHES "the plug-in's log is [^\n]*KinetraService.log")
  message(FATAL_ERROR "kinetra-sim did not say where the log is:\n${messages}")
endif()
