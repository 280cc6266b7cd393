// What a test or the stress run can see of the whole process: how many threads it has and how
// many heap bytes are in use, to tell whether the plug-in left a thread or a leak behind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

// The process's threads at this moment, ours and the runtime's.
std::size_t ProcessThreadCount();

// One thread as the system accounts for it.
struct ThreadUse {
    std::uint64_t id = 0;
    std::string name;
    // Times the thread went to sleep of its own accord (a wait, a lock, a blocking call), so
    // also the times it was woken.
    std::uint64_t waits = 0;
    // Processor time it has used, in nanoseconds.
    std::uint64_t cpuNs = 0;
};

// Every thread of the process with its name, waits and processor time; empty where the system
// does not tell all three (Windows counts no waits per thread).
std::vector<ThreadUse> ProcessThreads();
// The calling thread's entry in ProcessThreads; nullopt where the system does not tell.
std::optional<ThreadUse> ThisThread();

// How often the calling thread has gone to sleep (a lock another thread held, a blocking call)
// and how often it had its processor taken away while it could have run on (preempted).
struct ThreadSwitches {
    std::uint64_t waits = 0;
    std::uint64_t preemptions = 0;
    bool operator==(const ThreadSwitches&) const = default;
};
// nullopt where the system does not tell. One system call, cheap enough to ask around a single
// call whose time is measured.
std::optional<ThreadSwitches> ThisThreadSwitches();

// Heap bytes in use at this moment, from the sanitizer's allocator when one is linked in and
// from the C runtime's heap otherwise; nullopt where neither can tell.
std::optional<std::size_t> LiveHeapBytes();

}  // namespace sim
