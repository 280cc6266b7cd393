// Copies of one line beyond a limit per second are counted instead of written. A peer that makes
// the plug-in log the same line in a tight loop could otherwise rotate the whole history out of
// the backups within seconds; ordinary repeats stay far below the limit and are untouched.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace core::internal {

class log_repeats {
public:
    // Copies of one line written within one second; later copies in that second are counted.
    static constexpr std::uint32_t kWrittenPerSecond = 100;

    // Whether a line of `level` and `text` stamped in `second` is written. A line of another
    // second than the last one's ends the previous second: its counts become pending summaries.
    bool admit(int level, std::string_view text, std::int64_t second);
    // Ends the current second when `second` differs from it.
    void end_second_before(std::int64_t second) noexcept;

    struct summary {
        int level;
        std::uint64_t count;
        std::string text;  // the line's first bytes
    };
    // The summaries of ended seconds, handed over once.
    std::vector<summary> take_summaries() noexcept;

private:
    struct entry {
        int level = 0;
        std::size_t size = 0;
        std::uint32_t written = 0;
        std::uint64_t suppressed = 0;
        // The line's first bytes: a line is counted as a copy only when these and its size match.
        std::string head;
    };
    // Lines tracked per second; further different lines are written untracked, so a flood of
    // distinct lines costs this table nothing more.
    static constexpr std::size_t kTrackedLines = 1024;
    static constexpr std::size_t kHeadBytes = 120;

    std::int64_t second_ = -1;
    std::unordered_map<std::uint64_t, entry> lines_;
    std::vector<summary> ended_;
};

}  // namespace core::internal
