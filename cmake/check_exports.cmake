# Lists the symbols a built shared library exports and fails unless they are exactly EXPECTED.
# Run as: cmake -DLIBRARY=<file> -DTOOL=<nm or objdump> -DFORMAT=<elf|pe> -DEXPECTED=a;b -P ...
if(FORMAT STREQUAL "pe")
  execute_process(COMMAND ${TOOL} -p ${LIBRARY} OUTPUT_VARIABLE listing RESULT_VARIABLE failed)
else()
  execute_process(COMMAND ${TOOL} -D --defined-only --format=posix ${LIBRARY}
                  OUTPUT_VARIABLE listing RESULT_VARIABLE failed)
endif()
if(failed)
  message(FATAL_ERROR "${TOOL} could not read ${LIBRARY}")
endif()

# Brackets would confuse CMake's list splitting; the lines are compared without them.
string(REPLACE "[" "<" listing "${listing}")
string(REPLACE "]" ">" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
set(entries "")
set(in_name_table FALSE)
foreach(line IN LISTS lines)
  if(FORMAT STREQUAL "pe")
    # objdump lists exported names as "<n> name" lines under the name pointer table heading.
    if(line MATCHES "^<Ordinal/Name Pointer> Table")
      set(in_name_table TRUE)
    elseif(in_name_table AND line MATCHES "^[ \t]+<[ 0-9]+> (.+)$")
      list(APPEND entries "${CMAKE_MATCH_1}")
    else()
      set(in_name_table FALSE)
    endif()
  elseif(line MATCHES "^([^ ]+) ")
    list(APPEND entries "${CMAKE_MATCH_1}")
  endif()
endforeach()

list(SORT entries)
list(SORT EXPECTED)
message(STATUS "${LIBRARY} exports: ${entries}")
if(NOT entries STREQUAL EXPECTED)
  message(FATAL_ERROR "expected exactly: ${EXPECTED}")
endif()
