#include "support/log_lines.h"

#include <cctype>
#include <cstdlib>

namespace testing_support {
namespace {

bool Digits(const std::string& text, std::size_t at, std::size_t count) {
    if (at + count > text.size()) {
        return false;
    }
    for (std::size_t i = at; i < at + count; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) {
            return false;
        }
    }
    return true;
}

bool Literal(const std::string& text, std::size_t at, const char* expected) {
    return text.compare(at, std::char_traits<char>::length(expected), expected) == 0;
}

// Reads "<key><number padded with blanks to at least 6>]" at `at`.
std::optional<std::uint32_t> PaddedId(const std::string& text, std::size_t& at, const char* key) {
    if (!Literal(text, at, key)) {
        return std::nullopt;
    }
    at += std::char_traits<char>::length(key);
    const std::size_t end = text.find(']', at);
    if (end == std::string::npos || end - at < 6) {
        return std::nullopt;
    }
    const std::size_t digits_end = text.find_first_not_of("0123456789", at);
    if (digits_end == at || text.find_first_not_of(' ', digits_end) != end) {
        return std::nullopt;
    }
    const auto id = static_cast<std::uint32_t>(std::strtoul(text.c_str() + at, nullptr, 10));
    at = end + 1;
    return id;
}

}  // namespace

std::optional<LogLine> ParseLogLine(const std::string& line) {
    // [YYYY-MM-DD HH:MM:SS mmm]
    const bool stamp = Literal(line, 0, "[") && Digits(line, 1, 4) && Literal(line, 5, "-") &&
                       Digits(line, 6, 2) && Literal(line, 8, "-") && Digits(line, 9, 2) &&
                       Literal(line, 11, " ") && Digits(line, 12, 2) && Literal(line, 14, ":") &&
                       Digits(line, 15, 2) && Literal(line, 17, ":") && Digits(line, 18, 2) &&
                       Literal(line, 20, " ") && Digits(line, 21, 3) && Literal(line, 24, "]");
    if (!stamp) {
        return std::nullopt;
    }
    std::size_t at = 25;
    LogLine parsed;
    const auto pid = PaddedId(line, at, "[pid:");
    if (!pid) {
        return std::nullopt;
    }
    const auto tid = PaddedId(line, at, "[tid:");
    if (!tid || at + 4 > line.size() || line[at + 3] != ' ') {
        return std::nullopt;
    }
    parsed.pid = *pid;
    parsed.tid = *tid;
    parsed.level = line.substr(at, 3);
    if (parsed.level != "dbg" && parsed.level != "inf" && parsed.level != "act" &&
        parsed.level != "war" && parsed.level != "err") {
        return std::nullopt;
    }
    parsed.text = line.substr(at + 4);
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
        if (line.text.size() >= suffix.size() &&
            line.text.compare(line.text.size() - suffix.size(), suffix.size(), suffix) == 0) {
            ++count;
        }
    }
    return count;
}

}  // namespace testing_support
