# kinetra-sim as a workbench, end to end on the identity scenario: the HTML page has one arrow
# per JSON trace line; a scenario whose expectations do not hold exits 3 naming the steps; diff
# of two runs reports the changed game id and exits 1, the same trace twice exits 0, an
# unreadable file exits 2 naming its line.
# Arguments: TOOL, SCENARIO, WORK (a folder for the files), EMULATOR (may be empty).
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${EMULATOR} ${TOOL} --trace json --html ${WORK}/a.html ${SCENARIO}
                OUTPUT_FILE ${WORK}/a.jsonl ERROR_VARIABLE messages RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the scenario's expectations hold, yet exit ${rc}:\n${messages}")
endif()
file(STRINGS ${WORK}/a.jsonl lines)
list(LENGTH lines line_count)
file(READ ${WORK}/a.html page)
string(REGEX MATCHALL "<div class=\"event[ \"]" arrows "${page}")
list(LENGTH arrows arrow_count)
if(NOT arrow_count EQUAL line_count OR line_count LESS 10)
  message(FATAL_ERROR "${arrow_count} arrows on the page for ${line_count} trace lines")
endif()
foreach(pattern "data-from=\"plugin\" data-to=\"engine\" data-type=\"2014\""
                "data-function=\"getConfig\"" "data-call=\"AddPushHandler\"" "2014 game id<")
  if(NOT page MATCHES "${pattern}")
    message(FATAL_ERROR "the page has no ${pattern}")
  endif()
endforeach()

# Another game id, an expectation that no event meets and one that an event breaks.
file(READ ${SCENARIO} scenario)
string(REPLACE "\"game_id\": 123" "\"game_id\": 124" scenario "${scenario}")
string(REPLACE "\"steps\": [" "\"steps\": [{\"engine\": 24},
  {\"expect_none\": {\"from\": \"plugin\", \"type\": 25}, \"for_ms\": 100},
  {\"expect\": {\"type\": 2014, \"fields\": {\"iGameId\": 123}}, \"within_ms\": 100}," scenario
       "${scenario}")
file(WRITE ${WORK}/b.json "${scenario}")
execute_process(COMMAND ${EMULATOR} ${TOOL} --trace json ${WORK}/b.json
                OUTPUT_FILE ${WORK}/b.jsonl ERROR_VARIABLE messages RESULT_VARIABLE rc)
if(NOT rc EQUAL 3 OR NOT messages MATCHES "steps\\[1\\]: expected no event[^\n]*\n[^\n]*25 user information"
   OR NOT messages MATCHES "steps\\[2\\]: expected [^\n]*iGameId[^\n]*123"
   OR NOT messages MATCHES "the plug-in's log is")
  message(FATAL_ERROR "unmet expectations: exit ${rc}, expected 3 naming steps[1] and steps[2] "
                      "and the run finished:\n${messages}")
endif()

function(diff a b expected_rc pattern)
  execute_process(COMMAND ${EMULATOR} ${TOOL} diff ${a} ${b}
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  # The emulator now and then fails to start the tool at all: no output, exit 1. The tool
  # always prints something, so that run says nothing about it; it is run once more.
  if(EMULATOR AND "${out}${err}" STREQUAL "")
    execute_process(COMMAND ${EMULATOR} ${TOOL} diff ${a} ${b}
                    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  endif()
  if(NOT rc EQUAL ${expected_rc} OR NOT "${out}${err}" MATCHES "${pattern}")
    message(FATAL_ERROR "diff ${a} ${b}: exit ${rc}, expected ${expected_rc} and ${pattern}:\n"
                        "${out}${err}")
  endif()
endfunction()
diff(${WORK}/a.jsonl ${WORK}/a.jsonl 0 "the traces match")
diff(${WORK}/a.jsonl ${WORK}/b.jsonl 1 "2014 game id: iGameId 123 -> 124")
file(WRITE ${WORK}/broken.jsonl "{\"from\": \"plugin\"}\n{\"from\": \n")
diff(${WORK}/a.jsonl ${WORK}/broken.jsonl 2 "broken.jsonl:2: invalid JSON")
