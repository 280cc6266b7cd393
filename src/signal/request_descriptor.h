// Where a server request goes (servant, function, path) and the options the host reads.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Meru {

struct RequestDescriptor {
    RequestDescriptor(std::string_view servant, std::string_view function) {
        Assign(servant, function);
    }

    // Readdresses it, keeping the strings' capacity; a kept task mostly goes where it went.
    void Assign(std::string_view servant, std::string_view function) {
        if (!path.empty() && servantName == servant && functionName == function) {
            return;
        }
        servantName.assign(servant);
        functionName.assign(function);
        path.clear();
        path.push_back('/');
        path.append(servant);
        path.push_back('/');
        path.append(function);
    }

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
