#include "core/logger.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "core/internal/log_file.h"
#include "core/logger_stream.h"
#include "core/text.h"
#include "support/log_lines.h"
#include "support/temp_dir.h"
#include "support/unwritable_log.h"

namespace core {
namespace {

namespace fs = std::filesystem;
using testing_support::ParseLogFile;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::UnwritableLogs;
using testing_support::WriteFile;

// A small rotation limit, so that rotation on a real file needs only a few hundred bytes.
constexpr std::uint64_t kSmallLimit = 200;

// Keeps what the logger writes in memory and counts rotations; it outlives the logger that
// owns the sink, so a test reads it after the writer has stopped.
struct counted_output {
    std::mutex mutex;
    std::condition_variable rotated;
    std::string written;  // since the last rotation
    std::vector<std::string> rotated_out;
    std::uint64_t start_size = 0;
    bool closed = false;

    bool wait_for_rotations(std::size_t count) {
        std::unique_lock lock(mutex);
        return rotated.wait_for(lock, std::chrono::seconds(10),
                                [&] { return rotated_out.size() >= count; });
    }
};

class counting_sink final : public log_sink {
public:
    explicit counting_sink(std::shared_ptr<counted_output> output) : out_(std::move(output)) {}

    bool write(const char* data, std::size_t size) override {
        std::lock_guard lock(out_->mutex);
        out_->written.append(data, size);
        return true;
    }
    void close() override {
        std::lock_guard lock(out_->mutex);
        out_->closed = true;
    }
    std::uint64_t size() override {
        std::lock_guard lock(out_->mutex);
        return out_->start_size + out_->written.size();
    }
    void rotate() override {
        std::lock_guard lock(out_->mutex);
        out_->rotated_out.push_back(std::move(out_->written));
        out_->written.clear();
        out_->start_size = 0;
        out_->rotated.notify_all();
    }

private:
    std::shared_ptr<counted_output> out_;
};

class LoggerTest : public ::testing::Test {
protected:
    fs::path live() const { return dir.path() / "KinetraService.log"; }
    fs::path bk() const { return dir.path() / "kinetra.log.bk"; }
    fs::path bkbk() const { return dir.path() / "kinetra.log.bk.bk"; }
    std::wstring live_path() const { return dir.file("KinetraService.log"); }

    static void Grow(const fs::path& path, std::uintmax_t size) {
        WriteFile(path, "old");
        fs::resize_file(path, size);
    }

    // A logger writing into `output`, rotating past `limit` bytes.
    static std::unique_ptr<logger> Counted(const std::shared_ptr<counted_output>& output, int level,
                                           std::uint64_t limit = kLogRotateBytes) {
        return std::make_unique<logger>(std::make_unique<counting_sink>(output), level, limit);
    }

    TempDir dir;
};

struct CountedValue {
    int* formatted;
};
std::ostream& operator<<(std::ostream& out, const CountedValue& value) {
    ++*value.formatted;
    return out << "counted";
}

// Lines composed every way the stream offers, as std::ostream would format them; suppressed and
// empty streams leave nothing, and a suppressed one formats nothing.
TEST_F(LoggerTest, WritesWellFormedUtf8LinesAndNothingForSuppressedOrEmptyStreams) {
    int formatted = 0;
    const auto output = std::make_shared<counted_output>();
    {
        auto owned = Counted(output, -10);
        logger& log = *owned;
        logger_stream(level_inf, &log) << L"KinetraServicePluginImpl::Start" << " count " << 42;
        logger_stream(level_err, &log) << "Class::Method"
                                       << " flag " << true << 'c';
        logger_stream(-11, &log) << L"wide" << CountedValue{&formatted} << 5;
        { logger_stream nothing_inserted(level_err, &log); }
        logger_stream(level_inf, &log) << static_cast<const char*>(nullptr);
        log.log(-11, "below the threshold");
        log.log(-3, "low");
        log.log(7, "high");
        logger_stream(level_war, &log) << L"name \u00e9\u865a" << std::wstring(L" \U0001F600");
        logger_stream(level_inf, &log) << CountedValue{&formatted} << ' ' << -7 << ' '
                                       << 18446744073709551615ull << std::hex << ' ' << 255;
        logger_stream(level_inf, &log) << std::string(300, 'y') << L"wide" << std::string("!");
    }
    EXPECT_EQ(formatted, 1) << "a suppressed level must not format its values";
    EXPECT_TRUE(output->closed);
    const auto bytes = output->written;
    const auto file = ParseLogFile(bytes);
    ASSERT_TRUE(file.malformed.empty()) << bytes;
    const std::pair<std::string, std::string> expected[] = {
        {"inf", "KinetraServicePluginImpl::Start count 42"},
        {"err", "Class::Method flag 1c"},
        {"dbg", "low"},
        {"err", "high"},
        {"war", "name \xC3\xA9\xE8\x99\x9A \xF0\x9F\x98\x80"},
        {"inf", "counted -7 18446744073709551615 ff"},
        {"inf", std::string(300, 'y') + "wide!"},
    };
    ASSERT_EQ(file.lines.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(file.lines[i].level, expected[i].first);
        EXPECT_EQ(file.lines[i].text, expected[i].second);
    }
    EXPECT_EQ(file.lines[0].pid, log_os::process_id());
    EXPECT_EQ(file.lines[0].tid, log_os::thread_id());
}

// Wide text is copied a few units at a time while it is ASCII: a first other unit at any place,
// in a step or in the tail after the steps, gives the converter's bytes all the same.
TEST_F(LoggerTest, WideTextIsTheConvertersUtf8WhereverItsFirstNonAsciiUnitFalls) {
    constexpr std::size_t kUnits = 13;
    const auto output = std::make_shared<counted_output>();
    std::vector<std::string> expected;
    {
        auto owned = Counted(output, level_inf);
        for (std::size_t at = 0; at <= kUnits; ++at) {
            std::wstring text(kUnits, L'a');
            if (at < kUnits) {
                text[at] = L'\u00e9';
            }
            expected.push_back(WideToUtf8(text));
            logger_stream(level_inf, owned.get()) << text;
        }
    }
    const auto file = ParseLogFile(output->written);
    ASSERT_EQ(file.lines.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(file.lines[i].text, expected[i]) << "non-ASCII unit at " << i;
    }
}

// The real limit, on sparse files: only a live file larger than it is rotated at start; a path
// without a slash keeps the backups in the current folder.
TEST_F(LoggerTest, StartRotatesOnlyAFileLargerThanTheLimit) {
    const auto previous = fs::current_path();
    fs::current_path(dir.path());
    const std::pair<std::wstring, std::uintmax_t> cases[] = {{live_path(), kLogRotateBytes},
                                                             {live_path(), kLogRotateBytes + 1},
                                                             {L"plain.log", kLogRotateBytes + 1}};
    for (const auto& [path, size] : cases) {
        const fs::path file = dir.path() / fs::path(path).filename();
        fs::remove(bk());
        Grow(file, size);
        const bool rotates = size > kLogRotateBytes;
        { logger log(path, level_inf); }
        EXPECT_EQ(fs::file_size(file), rotates ? 0 : size);
        EXPECT_EQ(fs::exists(bk()) ? fs::file_size(bk()) : 0, rotates ? size : 0);
    }
    fs::current_path(previous);
}

// Real files and a small limit: lines written past it end up in the backups, the oldest lost.
TEST_F(LoggerTest, RotationShiftsBothBackupsAndLosesTheOldest) {
    WriteFile(bk(), "previous backup");
    WriteFile(bkbk(), "oldest backup");
    WriteFile(live(), std::string(kSmallLimit, 'o'));
    {
        logger log(std::make_unique<log_file>(live_path()), level_inf, kSmallLimit);
        EXPECT_EQ(ReadFile(bk()), "previous backup") << "exactly the limit is not rotated";
        log.log(level_inf, std::string(kSmallLimit, 'x'));
    }
    EXPECT_EQ(ReadFile(bkbk()), "previous backup");
    const auto rotated = ParseLogFile(ReadFile(bk()).substr(kSmallLimit));
    ASSERT_EQ(rotated.lines.size(), 1u);
    EXPECT_EQ(rotated.lines[0].text, std::string(kSmallLimit, 'x'));
    EXPECT_EQ(fs::file_size(live()), 0u);
}

TEST_F(LoggerTest, BatchCrossingTheLimitIsWrittenWholeThenRotated) {
    const auto output = std::make_shared<counted_output>();
    output->start_size = kSmallLimit - 10;
    {
        auto log = Counted(output, level_inf, kSmallLimit);
        log->log(level_inf, std::string(100, 'x'));
        ASSERT_TRUE(output->wait_for_rotations(1));
        log->log(level_inf, "after rotation");
    }
    ASSERT_EQ(output->rotated_out.size(), 1u);
    const auto before = ParseLogFile(output->rotated_out[0]);
    ASSERT_EQ(before.lines.size(), 1u);
    EXPECT_EQ(before.lines[0].text, std::string(100, 'x'));
    const auto after = ParseLogFile(output->written);
    ASSERT_EQ(after.lines.size(), 1u);
    EXPECT_EQ(after.lines[0].text, "after rotation");
}

// Callers go on, and the logger ends normally, whatever the file does; nothing is written.
// Lines logged inside wake scopes (nested) reach the file only after the outermost scope ends:
// its end wakes the sleeping writer, and no line is left waiting for a wake that never comes.
TEST_F(LoggerTest, WakeScopeWakesTheWriterOnceItEnds) {
    auto output = std::make_shared<counted_output>();
    auto lg = Counted(output, level_inf);
    const auto written = [&] {
        std::lock_guard lock(output->mutex);
        return output->written;
    };
    // Lets the new writer reach its sleep.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    {
        const log_wake_scope outer(lg.get());
        {
            const log_wake_scope inner(lg.get());
            lg->log(level_inf, "inside the inner scope");
        }
        lg->log(level_inf, "inside the outer scope");
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(written().find("inside"), std::string::npos);
    }
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (written().find("inside the outer scope") == std::string::npos &&
           std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_NE(written().find("inside the inner scope"), std::string::npos);
    EXPECT_NE(written().find("inside the outer scope"), std::string::npos);
}

TEST_F(LoggerTest, UnwritableLogLeavesCallersRunningAndWritesNothing) {
    for (const auto& target : UnwritableLogs(dir.path())) {
        SCOPED_TRACE(target.name);
        const bool existed = !target.watched.empty() && fs::exists(target.watched);
        const std::string bytes = existed ? ReadFile(target.watched) : std::string();
        {
            logger log(target.path, level_inf);
            // More than one hand-over to the file, so that writes go on failing after the first.
            for (int i = 0; i < 2000; ++i) {
                logger_stream(level_inf, &log) << "line " << i << std::string(100, 'x');
            }
        }
        if (!target.watched.empty()) {
            ASSERT_EQ(fs::exists(target.watched), existed);
            EXPECT_EQ(existed ? ReadFile(target.watched) : std::string(), bytes);
        }
    }
}

// The real limit on a live file just under it, so one rotation comes early: every line of every
// writer is whole, in its writer's order, in the backup or in the new live file.
TEST_F(LoggerTest, ManyWritersAcrossARotationLoseAndTearNoLine) {
    constexpr std::uintmax_t kStart = kLogRotateBytes - 64 * 1024;
    constexpr int kThreads = 8;
    constexpr int kLinesPerThread = 2000;
    Grow(live(), kStart);
    {
        logger log(live_path(), level_inf);
        std::vector<std::thread> writers;
        for (int t = 0; t < kThreads; ++t) {
            writers.emplace_back([&log, t] {
                for (int i = 0; i < kLinesPerThread; ++i) {
                    logger_stream(level_inf, &log) << "writer " << t << " line " << i;
                }
            });
        }
        for (auto& writer : writers) {
            writer.join();
        }
    }
    EXPECT_FALSE(fs::exists(bkbk()));
    ASSERT_GT(fs::file_size(bk()), kLogRotateBytes);
    std::string rotated(fs::file_size(bk()) - kStart, '\0');
    std::ifstream(bk(), std::ios::binary).seekg(kStart).read(rotated.data(), std::ssize(rotated));
    std::map<int, int> next_line;
    for (const auto& part : {ParseLogFile(rotated), ParseLogFile(ReadFile(live()))}) {
        ASSERT_FALSE(part.lines.empty());
        EXPECT_TRUE(part.malformed.empty());
        for (const auto& line : part.lines) {
            int writer = -1;
            int number = -1;
            ASSERT_EQ(std::sscanf(line.text.c_str(), "writer %d line %d", &writer, &number), 2);
            ASSERT_EQ(number, next_line[writer]++) << "lines of one writer keep their order";
        }
    }
    ASSERT_EQ(next_line.size(), static_cast<std::size_t>(kThreads));
    for (const auto& [writer, count] : next_line) {
        EXPECT_EQ(count, kLinesPerThread) << writer;
    }
}

}  // namespace
}  // namespace core
