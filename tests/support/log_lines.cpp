#include "support/log_lines.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string_view>

namespace testing_support {
namespace {

// True when `text` at `at` has the shape of `mask`, in which 'd' stands for any digit.
bool Shaped(const std::string& text, std::size_t at, std::string_view mask) {
    if (at + mask.size() > text.size()) {
        return false;
    }
    for (std::size_t i = 0; i < mask.size(); ++i) {
        const char c = text[at + i];
        if (mask[i] == 'd' ? !std::isdigit(static_cast<unsigned char>(c)) : c != mask[i]) {
            return false;
        }
    }
    return true;
}

// Reads "<key><number padded with blanks to at least 6>]" at `at`.
std::optional<std::uint32_t> PaddedId(const std::string& text, std::size_t& at,
                                      std::string_view key) {
    if (text.compare(at, key.size(), key) != 0) {
        return std::nullopt;
    }
    at += key.size();
    const std::size_t end = text.find(']', at);
    const std::size_t digits_end = text.find_first_not_of("0123456789", at);
    if (end == std::string::npos || end - at < 6 || digits_end == at ||
        text.find_first_not_of(' ', digits_end) != end) {
        return std::nullopt;
    }
    const auto id = static_cast<std::uint32_t>(std::strtoul(text.c_str() + at, nullptr, 10));
    at = end + 1;
    return id;
}

}  // namespace

std::optional<LogLine> ParseLogLine(const std::string& line) {
    constexpr std::string_view kStamp = "[dddd-dd-dd dd:dd:dd ddd]";
    if (!Shaped(line, 0, kStamp)) {
        return std::nullopt;
    }
    std::size_t at = kStamp.size();
    const auto pid = PaddedId(line, at, "[pid:");
    const auto tid = pid ? PaddedId(line, at, "[tid:") : std::nullopt;
    if (!tid || at + 4 > line.size() || line[at + 3] != ' ') {
        return std::nullopt;
    }
    LogLine parsed{*pid, *tid, line.substr(at, 3), line.substr(at + 4)};
    // One of the five level names, which start at multiples of 4 in this list.
    if (std::string_view("dbg inf act war err").find(parsed.level) % 4 != 0) {
        return std::nullopt;
    }
    return parsed;
}

LogFile ParseLogFile(const std::string& bytes) {
    LogFile file;
    std::size_t at = 0;
    for (std::size_t end; (end = bytes.find("\r\n", at)) != std::string::npos; at = end + 2) {
        std::string line = bytes.substr(at, end - at);
        if (auto parsed = ParseLogLine(line)) {
            file.lines.push_back(std::move(*parsed));
        } else {
            file.malformed.push_back(std::move(line));
        }
    }
    if (at < bytes.size()) {
        file.malformed.push_back(bytes.substr(at));
    }
    return file;
}

bool LogFile::ContainsText(const std::string& fragment) const {
    return std::ranges::any_of(
        lines, [&](const LogLine& line) { return line.text.find(fragment) != std::string::npos; });
}

std::size_t LogFile::CountEndingWith(const std::string& suffix) const {
    return static_cast<std::size_t>(std::ranges::count_if(
        lines, [&](const LogLine& line) { return line.text.ends_with(suffix); }));
}

}  // namespace testing_support
