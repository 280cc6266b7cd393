#include "core/internal/log_repeats.h"

#include <functional>

namespace core::internal {

void log_repeats::end_second_before(std::int64_t second) noexcept {
    if (second == second_) {
        return;
    }
    for (auto& [key, line] : lines_) {
        if (line.suppressed > 0) {
            try {
                ended_.push_back({line.level, line.suppressed, std::move(line.head)});
            } catch (...) {
                // Without memory the count is lost; the copies were counted, not written.
            }
        }
    }
    lines_.clear();
    second_ = second;
}

bool log_repeats::admit(int level, std::string_view text, std::int64_t second) {
    end_second_before(second);
    const std::uint64_t key = std::hash<std::string_view>{}(text) ^
                              (static_cast<std::uint64_t>(level) * 0x9E3779B97F4A7C15u);
    const std::string_view head = text.substr(0, kHeadBytes);
    auto found = lines_.find(key);
    if (found == lines_.end()) {
        if (lines_.size() < kTrackedLines) {
            lines_.emplace(key, entry{level, text.size(), 1, 0, std::string(head)});
        }
        return true;
    }
    entry& line = found->second;
    if (line.level != level || line.size != text.size() || line.head != head) {
        return true;
    }
    if (line.written < kWrittenPerSecond) {
        ++line.written;
        return true;
    }
    ++line.suppressed;
    return false;
}

std::vector<log_repeats::summary> log_repeats::take_summaries() noexcept {
    std::vector<summary> taken;
    taken.swap(ended_);
    return taken;
}

}  // namespace core::internal
