#include "core/internal/log_text.h"

#include <charconv>

#include "core/internal/utf8.h"

namespace core::internal {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

bool plain_ascii(unsigned char byte) {
    return byte >= 0x20 && byte < 0x7F;
}

// The length of the valid, printable UTF-8 sequence at `at`, or 0 when its lead byte must be
// escaped (invalid, or a C1 control character, which some terminals obey).
std::size_t printable_sequence(std::string_view text, std::size_t at) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t end = at;
    const char32_t cp = DecodeUtf8(bytes, text.size(), end);
    const std::size_t size = end - at;
    const bool replacement_written = size == 3 && bytes[at] == 0xEF;
    if ((cp == kReplacement && !replacement_written) || cp < 0xA0) {
        return 0;
    }
    return size;
}

}  // namespace

std::size_t AppendLogText(std::string& out, std::string_view text, std::size_t limit) {
    std::size_t room = limit;
    std::size_t at = 0;
    while (at < text.size()) {
        // Runs of printable ASCII, what almost every line is, are copied in one go.
        std::size_t run = at;
        while (run < text.size() && run - at < room &&
               plain_ascii(static_cast<unsigned char>(text[run]))) {
            ++run;
        }
        out.append(text.data() + at, run - at);
        room -= run - at;
        at = run;
        if (at == text.size() || room == 0) {
            break;
        }
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte >= 0x80) {
            if (const std::size_t size = printable_sequence(text, at); size > 0) {
                if (size > room) {
                    break;
                }
                out.append(text.data() + at, size);
                room -= size;
                at += size;
                continue;
            }
        }
        const char named = byte == '\r' ? 'r' : byte == '\n' ? 'n' : byte == '\t' ? 't' : 0;
        const std::size_t size = named != 0 ? 2 : 4;
        if (size > room) {
            break;
        }
        if (named != 0) {
            out.push_back('\\');
            out.push_back(named);
        } else {
            const char escaped[4] = {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
            out.append(escaped, sizeof escaped);
        }
        room -= size;
        ++at;
    }
    return at;
}

void AppendCutMarker(std::string& out, std::size_t cut_bytes) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, cut_bytes).ptr;
    out.append(" [cut ");
    out.append(digits, static_cast<std::size_t>(end - digits));
    out.append(" bytes]");
}

}  // namespace core::internal
