// Where a server request goes (servant, function, path) and the options the host reads.
#pragma once

#include <cstdint>
#include <string>

namespace Meru {

struct RequestDescriptor {
    RequestDescriptor(std::string servant, std::string function)
        : servantName(std::move(servant)),
          functionName(std::move(function)),
          path("/" + servantName + "/" + functionName) {}

    std::string servantName;
    std::string functionName;
    std::string path;
};

// Handed to the host as they stand; the host gives them their meaning.
struct TaskOptions {
    std::uint32_t option1 = 3000;
    std::uint32_t option2 = 1;
    std::uint32_t option3 = 3;
    std::uint32_t option4 = 3;
};

}  // namespace Meru
