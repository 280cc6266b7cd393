// Where a task sends its request, from the table of server functions.
#pragma once

#include <string>

#include "signal/request_descriptor.h"
#include "taf/server_functions.h"

namespace kinetra {

inline Meru::RequestDescriptor RequestAddress(const taf::ServerFunction& function) {
    return {std::string(function.servant), std::string(function.function)};
}

}  // namespace kinetra
