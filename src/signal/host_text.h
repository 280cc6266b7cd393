// The host's text as our own string.
#pragma once

#include <string>
#include <string_view>

#include "service_plugin/ll_string.h"
#include "taf/assign_text.h"

namespace Meru {

// The host's bytes, valid while `text` lives; the host hands out null for an empty text.
inline std::string_view TextOf(const service_plugin::LLString& text) {
    const char* bytes = text.Str();
    return bytes == nullptr ? std::string_view() : std::string_view(bytes, text.Length());
}

inline std::string CopyText(const service_plugin::LLString& text) {
    return std::string(TextOf(text));
}

// Into a string kept from the last request.
inline void CopyTextInto(std::string& target, const service_plugin::LLString& text) {
    taf::assignText(target, TextOf(text));
}

}  // namespace Meru
