// The log under hostile input: whatever text and however many lines the peers cause, every line
// in the file is whole, starts with its header and keeps its bound, and what was dropped or
// skipped is counted in the file.
#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdio>
#include <functional>
#include <mutex>

#include "core/internal/log_text.h"
#include "core/logger.h"
#include "core/logger_stream.h"
#include "support/log_lines.h"

namespace core {
namespace {

using testing_support::LogFile;
using testing_support::ParseLogFile;

TEST(LogText, EscapesWhatCouldForgeALineOrReachATerminalAndKeepsEverythingElse) {
    const std::pair<std::string, std::string> cases[] = {
        // The plug-in's own text, backslashes and all, as it stands.
        {"KinetraLogic::OnOpen sUA = a\\b c:/x [1]", "KinetraLogic::OnOpen sUA = a\\b c:/x [1]"},
        {"\xC3\xA9\xE8\x99\x9A\xF0\x9F\x98\x80 \xEF\xBF\xBD",
         "\xC3\xA9\xE8\x99\x9A\xF0\x9F\x98\x80 \xEF\xBF\xBD"},
        // A forged line, terminal escapes, controls.
        {"x\r\n[2024-03-05 14:07:09 042][pid:1     ][tid:1     ]err fake",
         "x\\r\\n[2024-03-05 14:07:09 042][pid:1     ][tid:1     ]err fake"},
        {"\x1B[2J\x1B]0;title\x07\t\x7F", "\\x1B[2J\\x1B]0;title\\x07\\t\\x7F"},
        {std::string("a\0b", 3), "a\\x00b"},
        // Invalid UTF-8: overlong, lone continuation, truncated, surrogate, too high; C1 CSI.
        {"\xC0\x80|\x80|\xE2\x82|\xED\xA0\x80|\xF5\x80",
         "\\xC0\\x80|\\x80|\\xE2\\x82|\\xED\\xA0\\x80|\\xF5\\x80"},
        {"\xC2\x9B"
         "31m",
         "\\xC2\\x9B31m"},
    };
    for (const auto& [text, expected] : cases) {
        std::string out;
        EXPECT_EQ(internal::AppendLogText(out, text, 1000), text.size());
        EXPECT_EQ(out, expected);
    }
    // An escape or a character is never split by the limit.
    const std::pair<std::string, std::size_t> cut_cases[] = {
        {"abc\x01", 3}, {"ab\xF0\x9F\x98\x80", 2}, {"abcde", 5}, {"abcd\r", 4}};
    for (const auto& [text, written] : cut_cases) {
        std::string out;
        EXPECT_EQ(internal::AppendLogText(out, text, 5), written) << text;
        EXPECT_LE(out.size(), 5u);
    }
}

// Keeps what the logger writes; while `stalled`, writes wait (a reader that stopped reading),
// and while `failing`, they fail.
struct held_output {
    std::mutex mutex;
    std::condition_variable changed;
    std::string written;
    bool stalled = false;
    bool failing = false;
    int writes_waiting = 0;

    void set(bool& flag, bool value) {
        std::lock_guard lock(mutex);
        flag = value;
        changed.notify_all();
    }
    void wait_for_writes_waiting(int count) {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return writes_waiting == count; });
    }
};

class held_sink final : public log_sink {
public:
    explicit held_sink(std::shared_ptr<held_output> output) : out_(std::move(output)) {}
    bool write(const char* data, std::size_t size) override {
        std::unique_lock lock(out_->mutex);
        ++out_->writes_waiting;
        out_->changed.notify_all();
        out_->changed.wait(lock, [&] { return !out_->stalled; });
        --out_->writes_waiting;
        out_->changed.notify_all();
        if (out_->failing) {
            return false;
        }
        out_->written.append(data, size);
        return true;
    }
    void close() override {}
    std::uint64_t size() override { return 0; }
    void rotate() override {}

private:
    std::shared_ptr<held_output> out_;
};

// The number after `key` in `text`, or 0.
std::uint64_t CountAfter(const std::string& text, const std::string& key) {
    const auto at = text.find(key);
    return at == std::string::npos ? 0 : std::stoull(text.substr(at + key.size()));
}

std::uint64_t Sum(const LogFile& file, const std::string& key) {
    std::uint64_t sum = 0;
    for (const auto& line : file.lines) {
        sum += CountAfter(line.text, key);
    }
    return sum;
}

std::uint64_t Lines(const LogFile& file, const std::string& prefix) {
    std::uint64_t count = 0;
    for (const auto& line : file.lines) {
        count += line.text.rfind(prefix, 0) == 0;
    }
    return count;
}

std::string Repeat(const std::string& piece, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) {
        out += piece;
    }
    return out;
}

// Holds the writer inside a write until `count` writes wait there.
void Stall(held_output& out, logger& log, int count = 1) {
    out.set(out.stalled, true);
    log.log(level_inf, "first line of the stall");
    out.wait_for_writes_waiting(count);
}

struct HostileCase {
    const char* name;
    std::function<void(logger&, held_output&)> feed;
    std::function<void(const LogFile&)> check;
};

const std::string kHuge(10 * kLogLineTextBytes, 'u');
constexpr int kFlood = 2 * kLogQueueLines;
constexpr int kRepeats = 1000;

// The hostile inputs and the bound each keeps, read back from what the logger wrote.
const HostileCase kHostile[] = {
    {"a line longer than a line's room is cut with a marker giving the bytes cut",
     [](logger& log, held_output&) {
         logger_stream(level_inf, &log) << "Cmd::Run sUA = " << kHuge;
         logger_stream(level_inf, &log)
             << L"Cmd::Run wide " << std::wstring(kHuge.size(), L'\u00e9');
         log.log(level_inf, std::string(kLogLineTextBytes, '\x01'));
         // Many short pieces: the line grows, fills, and counts what no longer fits.
         logger_stream pieces(level_inf, &log);
         for (int i = 0; i < 1000; ++i) {
             pieces << "0123456789";
         }
     },
     [](const LogFile& file) {
         ASSERT_EQ(file.lines.size(), 4u);
         const std::size_t kept = kLogLineTextBytes - 15;
         EXPECT_EQ(file.lines[0].text, "Cmd::Run sUA = " + kHuge.substr(0, kept) + " [cut " +
                                           std::to_string(kHuge.size() - kept) + " bytes]");
         EXPECT_EQ(file.lines[1].text,
                   "Cmd::Run wide " + Repeat("\xC3\xA9", (kLogLineTextBytes - 14) / 2) + " [cut " +
                       std::to_string(14 + 2 * kHuge.size() - kLogLineTextBytes) + " bytes]");
         EXPECT_EQ(file.lines[2].text, Repeat("\\x01", kLogLineTextBytes / 4) + " [cut " +
                                           std::to_string(kLogLineTextBytes * 3 / 4) + " bytes]");
         EXPECT_EQ(file.lines[3].text, Repeat("0123456789", 1000).substr(0, kLogLineTextBytes) +
                                           " [cut " + std::to_string(10'000 - kLogLineTextBytes) +
                                           " bytes]");
     }},
    {"a flood while the file is stalled fills the queue only; the rest is counted",
     [](logger& log, held_output& out) {
         Stall(out, log);
         for (int i = 0; i < kFlood; ++i) {
             logger_stream(level_inf, &log) << "flood " << i;
         }
         out.set(out.stalled, false);
     },
     [](const LogFile& file) {
         const std::uint64_t written = Lines(file, "flood ");
         EXPECT_LE(written, static_cast<std::uint64_t>(kLogQueueLines));
         EXPECT_EQ(written + Sum(file, "queue full "), static_cast<std::uint64_t>(kFlood));
     }},
    {"a failed write drops its batch, counts it, and the next batch is written",
     [](logger& log, held_output& out) {
         out.set(out.failing, true);
         Stall(out, log);
         log.log(level_inf, "lost with the failed batch");
         out.set(out.stalled, false);
         out.wait_for_writes_waiting(0);
         out.set(out.failing, false);
         // The line queued meanwhile went with a second failed batch or waits for this one.
         log.log(level_inf, "after the disk is back");
     },
     [](const LogFile& file) {
         EXPECT_FALSE(file.ContainsText("first line of the stall"));
         const std::uint64_t lost = file.ContainsText("lost with the failed batch") ? 1 : 2;
         EXPECT_EQ(Sum(file, "failed writes "), lost);
         ASSERT_FALSE(file.lines.empty());
         EXPECT_EQ(file.lines.back().text, "after the disk is back");
     }},
    {"copies of one line past the limit per second are counted, not written",
     [](logger& log, held_output&) {
         for (int i = 0; i < kRepeats; ++i) {
             log.log(level_inf, "Peer::Say same");
         }
         log.log(level_inf, "Peer::Say other");
     },
     [](const LogFile& file) {
         const std::uint64_t written = Lines(file, "Peer::Say same");
         // A second may end within the loop, so up to twice the limit is written.
         EXPECT_LE(written, 2u * internal::log_repeats::kWrittenPerSecond);
         EXPECT_EQ(written + Sum(file, "logger skipped "), static_cast<std::uint64_t>(kRepeats));
         EXPECT_EQ(Lines(file, "Peer::Say other"), 1u);
     }},
};

TEST(LoggerBounds, HostileInputKeepsItsBoundAndWhatIsLostIsCounted) {
    for (const auto& hostile : kHostile) {
        SCOPED_TRACE(hostile.name);
        const auto output = std::make_shared<held_output>();
        {
            logger log(std::make_unique<held_sink>(output), level_inf);
            hostile.feed(log, *output);
        }
        const LogFile file = ParseLogFile(output->written);
        EXPECT_TRUE(file.malformed.empty());
        for (const auto& line : file.lines) {
            EXPECT_LE(line.text.size(), kLogLineTextBytes + 32);
        }
        hostile.check(file);
    }
}

}  // namespace
}  // namespace core
