// Copying text into a string kept for reuse.
#pragma once

#include <string>
#include <string_view>

namespace taf {

// In the kept capacity. Cheaper than assign, whose general replace also handles text that lies
// in the target itself (never the case here: `text` is input bytes or another record), and no
// call at all for the empty strings that fill many fields.
inline void assignText(std::string& target, std::string_view text) {
    target.clear();
    if (!text.empty()) {
        target.append(text);
    }
}

}  // namespace taf
