#include <windows.h>

#include "core/prefetch.h"

namespace core {

// Every processor 64-bit Windows runs on has the write prefetch (GCC emits it when told so: see
// the CMake list).
void prefetch_for_write(const void* begin, std::size_t size) noexcept {
    constexpr std::size_t kLine = 64;
    char* const first = static_cast<char*>(const_cast<void*>(begin));
    for (std::size_t offset = 0; offset < size; offset += kLine) {
        PrefetchForWrite(first + offset);
    }
    if (size != 0) {
        PrefetchForWrite(first + size - 1);
    }
}

}  // namespace core
