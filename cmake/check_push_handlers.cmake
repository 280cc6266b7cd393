# Fails when code under src/ other than the push table gives the host a push handler or takes
# one back: the table is what removes every handler by object in every teardown order, and
# never hands the host a null one.
# Usage: cmake -DSOURCE_DIR=<repository> -P check_push_handlers.cmake
cmake_minimum_required(VERSION 3.25)
file(GLOB_RECURSE sources ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp)
set(findings "")
foreach(source IN LISTS sources)
  file(RELATIVE_PATH relative ${SOURCE_DIR} ${source})
  if(relative MATCHES "^src/signal/push_table\\.(h|cpp)$")
    continue()
  endif()
  file(STRINGS ${source} calls REGEX "(Add|Remove)PushHandler[ \t]*\\(")
  foreach(line IN LISTS calls)
    string(STRIP "${line}" line)
    string(APPEND findings "  ${relative}: ${line}\n")
  endforeach()
endforeach()
if(findings)
  message(FATAL_ERROR "Push handlers given to or taken from the host outside the push table:\n"
                      "${findings}")
endif()
