// Names the calling thread, so that a host's profiler or debugger shows which threads are the
// plug-in's and what each does. Every thread the plug-in starts calls it first.
#pragma once

namespace core {

// `name` begins with "kinetra-" and has at most 15 characters (the longest name some systems
// keep). Where the system cannot name threads nothing happens.
void name_this_thread(const char* name) noexcept;

}  // namespace core
