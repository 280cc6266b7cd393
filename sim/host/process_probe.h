// What a test or the stress run can see of the whole process: how many threads it has and how
// many heap bytes are in use, to tell whether the plug-in left a thread or a leak behind.
#pragma once

#include <cstddef>
#include <optional>

namespace sim {

// The process's threads at this moment, ours and the runtime's.
std::size_t ProcessThreadCount();

// Heap bytes in use at this moment, from the sanitizer's allocator when one is linked in and
// from the C runtime's heap otherwise; nullopt where neither can tell.
std::optional<std::size_t> LiveHeapBytes();

}  // namespace sim
