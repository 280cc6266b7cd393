# Checks that every virtual operation declared in the SDK headers sits at the slot its comment
# gives ("// N" ending the declaration) under the host's compiler layout, as clang lays it out
# for x86_64-pc-windows-msvc. Prints "skipped" and passes when no clang is given.
# Run as: cmake -DCLANG=<clang or empty> -DSDK_DIR=<sdk> -DWORK=<folder> -P check_vtable_slots.cmake
if(NOT CLANG OR NOT EXISTS "${CLANG}")
  message("vtable_slots: skipped, clang is not available to lay out the host's vtables")
  return()
endif()

# The variable that holds the laid-out slot of class::name.
function(slot_variable class name out)
  string(REPLACE "~" "destructor_" key "laid_out_${class}__${name}")
  string(MAKE_C_IDENTIFIER "${key}" key)
  set(${out} "${key}" PARENT_SCOPE)
endfunction()

# Splits text into a list of lines; semicolons and brackets, which CMake lists treat specially,
# are kept as markers.
function(split_lines text out)
  string(REPLACE ";" "<sc>" text "${text}")
  string(REPLACE "[" "<lb>" text "${text}")
  string(REPLACE "]" "<rb>" text "${text}")
  string(REPLACE "\n" ";" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Every operation in the headers: class, name and noted slot, as class|name|slot entries.
file(GLOB_RECURSE headers RELATIVE ${SDK_DIR} ${SDK_DIR}/*.h)
list(SORT headers)
set(operations "")
set(classes "")
set(errors "")
foreach(header IN LISTS headers)
  file(READ ${SDK_DIR}/${header} content)
  split_lines("${content}" lines)
  set(namespace "")
  set(class "")
  set(declaration "")
  set(number 0)
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    if(line MATCHES "^namespace ([A-Za-z_][A-Za-z0-9_]*) {")
      set(namespace "${CMAKE_MATCH_1}::")
    elseif(line MATCHES "^(class|struct) ([A-Z_]+ )?([A-Za-z_][A-Za-z0-9_]*)( final)?( *:[^{]*)? *{$")
      set(class "${namespace}${CMAKE_MATCH_3}")
    elseif(line MATCHES "^}<sc>")
      set(class "")
    elseif(line MATCHES "^ +virtual " OR NOT declaration STREQUAL "")
      string(APPEND declaration " ${line}")
      if(line MATCHES "(<sc>|{})")
        if(NOT declaration MATCHES "(~?[A-Za-z_][A-Za-z0-9_]*) *\\(")
          list(APPEND errors "${header}:${number}: no operation name")
        else()
          set(name "${CMAKE_MATCH_1}")
          if(line MATCHES "// ([0-9]+)(:.*)?$")
            list(APPEND operations "${class}|${name}|${CMAKE_MATCH_1}")
            list(APPEND classes "${class}")
          else()
            list(APPEND errors "${header}:${number}: ${class}::${name} has no slot comment")
          endif()
        endif()
        set(declaration "")
      endif()
    endif()
  endforeach()
endforeach()
list(REMOVE_DUPLICATES classes)

# A translation unit that makes clang lay out every class: a pointer to one of its operations
# (or a virtual delete, for a class whose only operation is its destructor).
file(MAKE_DIRECTORY ${WORK}/shim)
file(WRITE ${WORK}/shim/cstdint [=[
#pragma once
namespace std {
using int8_t = __INT8_TYPE__;
using int16_t = __INT16_TYPE__;
using int32_t = __INT32_TYPE__;
using int64_t = __INT64_TYPE__;
using uint8_t = __UINT8_TYPE__;
using uint16_t = __UINT16_TYPE__;
using uint32_t = __UINT32_TYPE__;
using uint64_t = __UINT64_TYPE__;
}  // namespace std
]=])
set(probe "")
foreach(header IN LISTS headers)
  string(APPEND probe "#include \"${header}\"\n")
endforeach()
set(index 0)
foreach(class IN LISTS classes)
  set(used "")
  foreach(operation IN LISTS operations)
    if(operation MATCHES "^${class}\\|([A-Za-z_][A-Za-z0-9_]*)\\|" AND used STREQUAL "")
      set(used "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  if(used STREQUAL "")
    string(APPEND probe "void probe${index}(${class}* p) { delete p; }\n")
  else()
    string(APPEND probe "auto probe${index} = &${class}::${used};\n")
  endif()
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE ${WORK}/vtable_probe.cpp "${probe}")

# Code generation is what lays the tables out; the IR itself is not needed.
execute_process(
  COMMAND ${CLANG} -x c++ --target=x86_64-pc-windows-msvc -std=c++20 -nostdinc
          -isystem ${WORK}/shim -I ${SDK_DIR} -S -emit-llvm -o ${WORK}/vtable_probe.ll
          -Xclang -fdump-vtable-layouts ${WORK}/vtable_probe.cpp
  OUTPUT_VARIABLE dump ERROR_VARIABLE diagnostics RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "vtable_slots: clang could not compile the SDK headers:\n${diagnostics}")
endif()

# "VFTable indices for 'C'" lists the operations C introduces, each with its slot.
split_lines("${dump}" lines)
set(section "")
foreach(line IN LISTS lines)
  if(line MATCHES "^VFTable indices for '([^']+)'")
    set(section "${CMAKE_MATCH_1}")
  elseif(line STREQUAL "")
    set(section "")
  elseif(NOT section STREQUAL "" AND line MATCHES "^ *([0-9]+) \\| (.*)$")
    set(slot "${CMAKE_MATCH_1}")
    if(CMAKE_MATCH_2 MATCHES "${section}::(~?[A-Za-z_][A-Za-z0-9_]*)\\(")
      slot_variable("${section}" "${CMAKE_MATCH_1}" key)
      set(${key} "${slot}")
    endif()
  endif()
endforeach()

list(LENGTH operations checked)
foreach(operation IN LISTS operations)
  string(REPLACE "|" ";" fields "${operation}")
  list(GET fields 0 class)
  list(GET fields 1 name)
  list(GET fields 2 noted)
  slot_variable("${class}" "${name}" key)
  set(actual "${${key}}")
  if(actual STREQUAL "")
    list(APPEND errors "${class}::${name}: not in clang's layout")
  elseif(NOT actual EQUAL noted)
    list(APPEND errors "${class}::${name}: noted at slot ${noted}, laid out at slot ${actual}")
  endif()
endforeach()
if(errors)
  list(JOIN errors "\n  " listing)
  message(FATAL_ERROR "vtable_slots: slots that do not hold:\n  ${listing}")
endif()
list(LENGTH classes interfaces)
message("vtable_slots: ${checked} operations of ${interfaces} interfaces at their noted slots")
