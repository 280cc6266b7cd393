#include <windows.h>

#include "core/prefetch.h"

namespace core {

// Every processor 64-bit Windows runs on has the write prefetch (GCC emits it when told so: see
// the CMake list).
void prefetch_line_for_write(const void* address) noexcept {
    PrefetchForWrite(const_cast<void*>(address));
}

}  // namespace core
