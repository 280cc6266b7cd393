# Fails when an engine message number or the channel name is written as a literal outside the
# tables that define them (src/plugin/engine_messages.h, src/plugin/plugin_names.h).
# Usage: cmake -DSOURCE_DIR=<repository> -P check_protocol_literals.cmake
cmake_minimum_required(VERSION 3.25)
file(GLOB_RECURSE sources
     ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/sim/*.h ${SOURCE_DIR}/sim/*.cpp
     ${SOURCE_DIR}/tools/*.h ${SOURCE_DIR}/tools/*.cpp ${SOURCE_DIR}/tests/*.h
     ${SOURCE_DIR}/tests/*.cpp)
set(tables src/plugin/engine_messages.h src/plugin/plugin_names.h)

# A message number where code names a message: the first argument of a send, a wait or a
# count, or a number made into a message type.
set(number_uses
    "(SendToEngine|Send|WaitFor|WaitForRecord<[^>]*>|CountReceived)\\([ \t]*[0-9]"
    "static_cast<(kinetra::)?(To|From)Engine>\\([ \t]*[0-9]")
set(findings "")
foreach(source IN LISTS sources)
  file(RELATIVE_PATH relative ${SOURCE_DIR} ${source})
  if(relative IN_LIST tables)
    continue()
  endif()
  file(READ ${source} text)
  string(FIND "${text}" "\"kinetra_service_plugin\"" channel)
  if(NOT channel EQUAL -1)
    string(APPEND findings "  ${relative}: the channel name as a literal\n")
  endif()
  foreach(pattern IN LISTS number_uses)
    string(REGEX MATCH "${pattern}" match "${text}")
    if(match)
      string(APPEND findings "  ${relative}: a message number as a literal: ${match}\n")
    endif()
  endforeach()
endforeach()
if(findings)
  message(FATAL_ERROR "Protocol literals outside their tables:\n${findings}")
endif()
