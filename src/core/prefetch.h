// Asks the processor to own memory for writing before it is written. A caller that will write
// lines another core has just read (a queue the log writer drains, say) pays the transfer now,
// while other work goes on, instead of stalling its next locked instruction on it.
#pragma once

#include <cstddef>

namespace core {

// Only a hint: the bytes are neither read nor written, and any address is safe to pass.
void prefetch_for_write(const void* begin, std::size_t size) noexcept;

}  // namespace core
