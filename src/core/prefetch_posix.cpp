#include "core/prefetch.h"

namespace core {

// Built with the write-prefetch instruction enabled where the processor family has it (see the
// CMake list); elsewhere the compiler emits a plain prefetch or nothing.
void prefetch_for_write(const void* begin, std::size_t size) noexcept {
    constexpr std::size_t kLine = 64;
    const char* const first = static_cast<const char*>(begin);
    for (std::size_t offset = 0; offset < size; offset += kLine) {
        __builtin_prefetch(first + offset, 1);
    }
    if (size != 0) {
        __builtin_prefetch(first + size - 1, 1);
    }
}

}  // namespace core
