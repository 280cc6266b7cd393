# Runs the built kinetra-sim on a checked-in scenario and compares its JSON trace with the
# expected one line by line, without the lines' times ("t_ms"), which differ from run to run.
# Arguments: TOOL, SCENARIO, EXPECTED, EMULATOR (may be empty).
execute_process(COMMAND ${EMULATOR} ${TOOL} --trace json ${SCENARIO}
                OUTPUT_VARIABLE trace ERROR_VARIABLE messages RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "kinetra-sim ${SCENARIO}: exit ${rc}\n${messages}")
endif()
# The Windows build writes its text output with CR LF line ends.
string(REPLACE "\r\n" "\n" trace "${trace}")
file(READ ${EXPECTED} expected)
# Every line ends with its time (counted without splitting the trace into a list, whose
# separator the payloads' texts may hold).
string(REGEX MATCHALL "\n" line_ends "${trace}")
string(REGEX MATCHALL ", \"t_ms\": [0-9]+}\n" timed_ends "${trace}")
list(LENGTH line_ends line_count)
list(LENGTH timed_ends timed_count)
if(NOT line_count EQUAL timed_count)
  message(FATAL_ERROR "${timed_count} of the ${line_count} trace lines end with their time:\n${trace}")
endif()
string(REGEX REPLACE ", \"t_ms\": [0-9]+}" "}" trace "${trace}")
string(REGEX REPLACE ", \"t_ms\": [0-9]+}" "}" expected "${expected}")
if(NOT trace STREQUAL expected)
  message(FATAL_ERROR "the trace of ${SCENARIO} differs from ${EXPECTED}:\n${trace}")
endif()
if(NOT messages MATCHES "the plug-in's log is [^\n]*KinetraService.log")
  message(FATAL_ERROR "kinetra-sim did not say where the log is:\n${messages}")
endif()
