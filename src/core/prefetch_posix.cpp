#include "core/prefetch.h"

namespace core {

// Built with the write-prefetch instruction enabled where the processor family has it (see the
// CMake list); elsewhere the compiler emits a plain prefetch or nothing.
void prefetch_line_for_write(const void* address) noexcept {
    __builtin_prefetch(address, 1);
}

}  // namespace core
