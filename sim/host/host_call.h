// A call that changes the simulated host's state, with its arguments by name, as an observer
// such as kinetra-sim's trace sees it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace sim {

// Texts are UTF-8; pairs are positions, scales and camera values.
using HostCallValue = std::variant<std::string, std::int64_t, bool, std::array<float, 2>>;

struct HostCall {
    std::string call;  // the operation's name, "CreateSource"
    std::vector<std::pair<std::string, HostCallValue>> args;
};

// Called on the thread that made the call, before the host acts on it.
using HostCallObserver = std::function<void(const HostCall&)>;

// Something the host holds of the plug-in that it should not, such as a push handler still
// registered once the library is unloaded: the next push would call freed memory.
struct HostError {
    std::string error;  // "handler still registered"
    std::vector<std::pair<std::string, HostCallValue>> details;
};

using HostErrorObserver = std::function<void(const HostError&)>;

}  // namespace sim
