# Runs kinetra-sim's built-in tour: its readable trace goes to the terminal as it runs, its
# JSON trace and its HTML page to files. Checks that the JSON trace shows every feature once:
# each entry below is a pattern that some line of the trace must match (a "." stands for a
# bracket, which a CMake list would treat as grouping its items). Ends with the page's path.
# Arguments: TOOL, PAGE (the HTML page to write), EMULATOR (may be empty).
get_filename_component(folder ${PAGE} DIRECTORY)
set(json ${folder}/kinetra-tour.trace.jsonl)
execute_process(COMMAND ${EMULATOR} ${TOOL} --json ${json} --html ${PAGE} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the tour: exit ${rc}")
endif()
file(READ ${json} trace)
set(to_engine "\"from\": \"plugin\", \"to\": \"engine\", \"type\": ")
set(to_server "\"from\": \"plugin\", \"to\": \"server\", \"servant\": ")
set(to_host "\"from\": \"plugin\", \"to\": \"host\", \"call\": ")
set(expected
  # identity, game id, start configuration, update query and report, pass-through
  "${to_engine}25," "${to_engine}2014," "${to_engine}2000," "${to_engine}317,"
  "${to_server}\"mobileui\", \"function\": \"reportMobileUpdateResult\"" "${to_engine}23,"
  "${to_server}\"metric\", \"function\": \"reportDetailV2\""
  # open notice: gift list, init data, live state, ornaments
  "${to_server}\"PropsUIServer\", \"function\": \"getPropsList\"" "${to_engine}20,"
  "${to_engine}39," "${to_engine}115,"
  # source and camera
  "${to_host}\"CreateSource\"" "${to_host}\"SetSourceTransform\", \"args\": {\"position\": .656.25"
  "${to_host}\"ClearCamera\"" "${to_host}\"RestoreCamera\""
  # live started and the tag refresh with "1" (hex 31)
  "${to_engine}39, \"payload\": .{\"tag\": 0, \"type\": \"int8\", \"value\": 1}"
  "${to_server}\"wupui\", \"function\": \"setLiveTag\"[^\n]*\"hex\": \"31\""
  "${to_server}\"liveui\", \"function\": \"transMsgToViewer\""
  # pushes, subscription, dialog, audio
  "${to_engine}109," "${to_engine}108," "${to_host}\"AddPushHandler\", \"args\": {\"uri\": 880001}"
  "${to_engine}30," "${to_host}\"ShowDialog\"" "${to_engine}2040," "${to_engine}2034,"
  # crown game and travel game
  "${to_engine}104," "${to_engine}114," "${to_engine}110," "${to_engine}106,"
  "${to_engine}204," "${to_engine}202," "${to_engine}206," "${to_engine}209," "${to_engine}212,"
  # the close notice
  "${to_host}\"RemovePushHandler\"" "${to_host}\"RemoveLiveEvent\"")
foreach(pattern IN LISTS expected)
  if(NOT trace MATCHES "${pattern}")
    message(FATAL_ERROR "the tour's trace has no line matching ${pattern}:\n${trace}")
  endif()
endforeach()
message("\nThe session as a sequence diagram (open it in a browser): ${PAGE}")
