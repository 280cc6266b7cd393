# Fails when a feature (src/live, src/games, src/commands) includes the plug-in instance's
# headers: features are given the plug-in context (src/context) and never the instance, so that
# each can be built and tested without it.
# Usage: cmake -DSOURCE_DIR=<repository> -P check_feature_includes.cmake
cmake_minimum_required(VERSION 3.25)
file(GLOB_RECURSE sources
     ${SOURCE_DIR}/src/live/*.h ${SOURCE_DIR}/src/live/*.cpp
     ${SOURCE_DIR}/src/games/*.h ${SOURCE_DIR}/src/games/*.cpp
     ${SOURCE_DIR}/src/commands/*.h ${SOURCE_DIR}/src/commands/*.cpp)
# The instance and the module that owns it.
set(instance_headers
    kinetra_service_plugin_impl.h plugin_instance_impl.h instance_ref.h
    kinetra_plugin_module_impl.h plugin_module_impl.h)
set(findings "")
foreach(source IN LISTS sources)
  file(RELATIVE_PATH relative ${SOURCE_DIR} ${source})
  file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"plugin/")
  foreach(line IN LISTS includes)
    foreach(header IN LISTS instance_headers)
      if(line MATCHES "\"plugin/${header}\"")
        string(APPEND findings "  ${relative}: ${line}\n")
      endif()
    endforeach()
  endforeach()
endforeach()
if(findings)
  message(FATAL_ERROR "Features including the instance's headers:\n${findings}")
endif()
