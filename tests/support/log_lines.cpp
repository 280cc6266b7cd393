#include "support/log_lines.h"

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
    std::size_t at = 25;
    if (!Shaped(line, 0, "[dddd-dd-dd dd:dd:dd ddd]")) {
        return std::nullopt;
    }
    const auto pid = PaddedId(line, at, "[pid:");
    const auto tid = pid ? PaddedId(line, at, "[tid:") : std::nullopt;
    if (!tid || at + 4 > line.size() || line[at + 3] != ' ') {
        return std::nullopt;
    }
    LogLine parsed{*pid, *tid, line.substr(at, 3), line.substr(at + 4)};
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
    for (const auto& line : lines) {
        if (line.text.find(fragment) != std::string::npos) {
            return true;
        }
    }
    return false;
}

std::size_t LogFile::CountEndingWith(const std::string& suffix) const {
    std::size_t count = 0;
    for (const auto& line : lines) {
        count += line.text.size() >= suffix.size() &&
                 line.text.compare(line.text.size() - suffix.size(), suffix.size(), suffix) == 0;
    }
    return count;
}

}  // namespace testing_support
