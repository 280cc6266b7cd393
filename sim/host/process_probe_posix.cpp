// Threads from /proc, heap bytes from the sanitizer allocator or glibc's mallinfo2.
#include <malloc.h>

#include <filesystem>

#include "host/process_probe.h"

// Declared weak: present only when a sanitizer runtime is linked, which replaces malloc, so
// that mallinfo2 would no longer see the heap.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));

namespace sim {

std::size_t ProcessThreadCount() {
    std::error_code error;
    std::size_t count = 0;
    for (std::filesystem::directory_iterator at("/proc/self/task", error), end; !error && at != end;
         at.increment(error)) {
        ++count;
    }
    return count;
}

std::optional<std::size_t> LiveHeapBytes() {
    if (&__sanitizer_get_current_allocated_bytes != nullptr) {
        return __sanitizer_get_current_allocated_bytes();
    }
    const struct mallinfo2 info = ::mallinfo2();
    return info.uordblks + info.hblkhd;
}

}  // namespace sim
