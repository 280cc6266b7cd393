// The names the host and the engine know the plug-in by.
#pragma once

namespace kinetra {

// The module the library registers with the host; the engine channel carries the same name
// in both directions.
inline constexpr char kModuleName[] = "kinetra_service_plugin";
inline constexpr const char* kEngineChannelName = kModuleName;

// The one instance the module makes.
inline constexpr char kInstanceName[] = "kinetra:network";

}  // namespace kinetra
