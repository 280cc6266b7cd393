# Fails when docs/protocol.md is not what kinetra-protocol writes now, or when a record declared
# under src/taf/records is missing from it (no message, call or push reaches it).
# Arguments: TOOL, EMULATOR (may be empty), CHECKED_IN, RECORDS_DIR, WORK, BUILD_DIR.

set(fresh ${WORK}/protocol.md)
execute_process(COMMAND ${EMULATOR} ${TOOL} ${fresh} RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "kinetra-protocol: exit ${rc}\n${err}")
endif()
file(READ ${fresh} generated)
file(READ ${CHECKED_IN} checked_in)
if(NOT generated STREQUAL checked_in)
  execute_process(COMMAND diff -u ${CHECKED_IN} ${fresh} OUTPUT_VARIABLE difference)
  message(FATAL_ERROR "${CHECKED_IN} is out of date; regenerate it with\n"
                      "  cmake --build ${BUILD_DIR} --target protocol_doc\n${difference}")
endif()

file(GLOB headers ${RECORDS_DIR}/*.h)
foreach(header IN LISTS headers)
  file(READ ${header} text)
  string(REGEX MATCHALL "table\\(\n? *\"[A-Za-z0-9_]+\"" declared "${text}")
  foreach(match IN LISTS declared)
    string(REGEX REPLACE ".*\"([A-Za-z0-9_]+)\"" "\\1" name "${match}")
    string(FIND "${generated}" "\n### ${name}\n" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "${name} (${header}) is not in ${CHECKED_IN}: give it to a message, "
                          "server call or push table, or a record that one of them uses")
    endif()
  endforeach()
endforeach()
