// The host's text as our own string.
#pragma once

#include <string>

#include "service_plugin/ll_string.h"

namespace Meru {

// The host's text as bytes; the host hands out null for an empty text.
inline std::string CopyText(const service_plugin::LLString& text) {
    const char* bytes = text.Str();
    return bytes == nullptr ? std::string() : std::string(bytes, text.Length());
}

}  // namespace Meru
