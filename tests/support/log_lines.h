// Reads a log file back into lines, checking each against the line format the logger writes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

struct LogLine {
    std::uint32_t pid = 0;
    std::uint32_t tid = 0;
    std::string level;
    std::string text;
};

// Parses one line without its CR LF; nullopt when the header is malformed.
std::optional<LogLine> ParseLogLine(const std::string& line);

struct LogFile {
    std::vector<LogLine> lines;
    // Lines that did not parse, and bytes after the last CR LF.
    std::vector<std::string> malformed;
    bool ContainsText(const std::string& fragment) const;
    std::size_t CountEndingWith(const std::string& suffix) const;
};

LogFile ParseLogFile(const std::string& bytes);

}  // namespace testing_support
