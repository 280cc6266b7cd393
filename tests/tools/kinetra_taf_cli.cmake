# Runs the built kinetra-taf on captured sample messages: bytes -> JSON -> bytes and
# JSON -> bytes -> JSON, the readable dump with and without a record, framed packets, and the
# error exits.
# Arguments: TOOL, DATA (sample folder), WORK (scratch folder), EMULATOR (may be empty),
# QUICK (ON under an emulator, where every launch is slow: only the essential runs).

# Runs the tool with the given arguments; fails unless it exits with `expected_exit`.
# Leaves standard output in TOOL_OUT and standard error in TOOL_ERR.
function(run_tool expected_exit)
  execute_process(COMMAND ${EMULATOR} ${TOOL} ${ARGN}
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc STREQUAL "${expected_exit}")
    message(FATAL_ERROR "kinetra-taf ${ARGN}: exit ${rc}, expected ${expected_exit}\n${err}")
  endif()
  set(TOOL_OUT "${out}" PARENT_SCOPE)
  set(TOOL_ERR "${err}" PARENT_SCOPE)
endfunction()

function(expect_same what actual expected_file)
  file(READ ${expected_file} expected)
  if(NOT actual STREQUAL expected)
    message(FATAL_ERROR "${what} differs from ${expected_file}:\n${actual}")
  endif()
endfunction()

function(expect_same_hex what actual expected_file)
  file(READ ${expected_file} expected)
  string(REGEX REPLACE "[ \n\r]" "" actual "${actual}")
  string(REGEX REPLACE "[ \n\r]" "" expected "${expected}")
  if(NOT actual STREQUAL expected)
    message(FATAL_ERROR "${what}: ${actual}\nexpected (${expected_file}): ${expected}")
  endif()
endfunction()

# Raw bytes through a file and standard input: the path that needs binary streams.
execute_process(COMMAND ${EMULATOR} ${TOOL} encode ${DATA}/request.json
                OUTPUT_FILE ${WORK}/request.bin RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "kinetra-taf encode request.json: exit ${rc}")
endif()
execute_process(COMMAND ${EMULATOR} ${TOOL} dump --json -
                INPUT_FILE ${WORK}/request.bin OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "kinetra-taf dump --json - < request.bin: exit ${rc}")
endif()
expect_same("request.json -> bytes -> JSON" "${out}" ${DATA}/request.json)

run_tool(0 encode --hex ${DATA}/user_id.json)
expect_same_hex("user_id.json -> bytes" "${TOOL_OUT}" ${DATA}/user_id.hex)

run_tool(1 dump --hex ${DATA}/truncated.hex)
if(NOT TOOL_ERR MATCHES "byte offset 7: status -106")
  message(FATAL_ERROR "truncated.hex: unexpected error text: ${TOOL_ERR}")
endif()

# A framed request: header fields, and the body's attributes with their values as trees.
run_tool(0 frame --hex --json ${DATA}/frame.hex)
expect_same("frame.hex -> JSON" "${TOOL_OUT}" ${DATA}/frame.json)

# A captured start configuration (2000) named by its engine type; tag 12 is not declared.
run_tool(0 dump --hex --engine-type 2000 ${DATA}/start_config.hex)
expect_same("start_config.hex --engine-type 2000" "${TOOL_OUT}" ${DATA}/start_config.txt)

if(QUICK)
  return()
endif()

run_tool(0 dump --hex --record MERU.StartConfigMsg ${DATA}/start_config.hex)
expect_same("start_config.hex --record" "${TOOL_OUT}" ${DATA}/start_config.txt)
run_tool(2 dump --hex --record NoSuchRecord ${DATA}/start_config.hex)
if(NOT TOOL_ERR MATCHES "no record named \"NoSuchRecord\"")
  message(FATAL_ERROR "unknown record: unexpected error text: ${TOOL_ERR}")
endif()
run_tool(2 dump --hex --engine-type 2014x ${DATA}/start_config.hex)
if(NOT TOOL_ERR MATCHES "no payload record for engine type")
  message(FATAL_ERROR "unknown engine type: unexpected error text: ${TOOL_ERR}")
endif()

run_tool(0 frame --hex ${DATA}/frame.hex)
expect_same("frame.hex -> text" "${TOOL_OUT}" ${DATA}/frame.txt)
# Status keys "a" ff, "a" fe and "a\xff" stay three members, each reading back to its bytes.
run_tool(0 frame --hex --json ${DATA}/frame_keys.hex)
expect_same("frame_keys.hex -> JSON" "${TOOL_OUT}" ${DATA}/frame_keys.json)
run_tool(1 frame --hex ${DATA}/frame_value_cut.hex)
if(NOT TOOL_ERR MATCHES "attribute \"tReq\" type \"\\?\" at byte offset 3: status -106")
  message(FATAL_ERROR "frame_value_cut.hex: unexpected error text: ${TOOL_ERR}")
endif()
run_tool(1 frame --hex ${DATA}/frame_short.hex)
if(NOT TOOL_ERR MATCHES "status -201")
  message(FATAL_ERROR "frame_short.hex: unexpected error text: ${TOOL_ERR}")
endif()

foreach(sample user_id request)
  run_tool(0 dump --hex --json ${DATA}/${sample}.hex)
  expect_same("${sample}.hex -> JSON" "${TOOL_OUT}" ${DATA}/${sample}.json)
  run_tool(0 dump --hex ${DATA}/${sample}.hex)
  expect_same("${sample}.hex -> text" "${TOOL_OUT}" ${DATA}/${sample}.txt)
endforeach()

run_tool(0 encode --hex ${DATA}/request.json)
expect_same_hex("request.json -> bytes" "${TOOL_OUT}" ${DATA}/request.hex)
run_tool(0 encode --hex ${DATA}/request_shorthand.json)
expect_same_hex("request_shorthand.json -> bytes" "${TOOL_OUT}" ${DATA}/request.hex)

run_tool(2 encode ${DATA}/unknown_type.json)
if(NOT TOOL_ERR MATCHES "unknown type \"int128\"")
  message(FATAL_ERROR "unknown_type.json: unexpected error text: ${TOOL_ERR}")
endif()
run_tool(2 encode ${DATA}/user_id.txt)
if(NOT TOOL_ERR MATCHES "invalid JSON at byte offset")
  message(FATAL_ERROR "user_id.txt as JSON: unexpected error text: ${TOOL_ERR}")
endif()
run_tool(2 dump --bogus)
