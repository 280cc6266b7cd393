// kinetra-taf frame: a framed server request or reply shown as its header, its body's
// attributes with their type names, and each attribute's value as a schema-less field tree.
#pragma once

#include <span>
#include <string>

#include "taf/wire.h"

namespace taftool {

struct FrameDescription {
    // The indented text form, or the JSON form; what could be decoded before a failure.
    std::string output;
    // Empty when everything decoded; otherwise what failed, for the error message.
    std::string failure;
};

FrameDescription DescribeFrame(std::span<const std::uint8_t> frame, bool json);

}  // namespace taftool
