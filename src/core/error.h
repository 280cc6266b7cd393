// Result code handed to thread-pool callbacks.
#pragma once

#include <cstdint>

namespace core {

// 0 is success; failures are values with the top bit set (0x80000000 and up).
enum class error_e : std::uint32_t {
    success = 0,
};

}  // namespace core
