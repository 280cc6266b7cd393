// Asks the processor to own memory for writing before it is written. A caller that will write
// lines another core has just read (a queue the log writer drains, say) pays the transfer now,
// while other work goes on, instead of stalling its next locked instruction on it.
#pragma once

#include <cstddef>

namespace core {

// The cache line holding `address`. Only a hint: nothing is read or written, and any address is
// safe to pass.
void prefetch_line_for_write(const void* address) noexcept;

// Every cache line of [begin, begin + size).
inline void prefetch_for_write(const void* begin, std::size_t size) noexcept {
    constexpr std::size_t kLine = 64;
    const char* const first = static_cast<const char*>(begin);
    for (std::size_t offset = 0; offset < size; offset += kLine) {
        prefetch_line_for_write(first + offset);
    }
    // The last byte's line, which the steps miss when `begin` is not at a line's start.
    if (size != 0) {
        prefetch_line_for_write(first + size - 1);
    }
}

}  // namespace core
