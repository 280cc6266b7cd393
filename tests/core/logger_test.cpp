#include "core/logger.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <thread>

#include "core/internal/log_file.h"
#include "core/logger_stream.h"
#include "support/log_lines.h"
#include "support/temp_dir.h"

namespace core {
namespace {

namespace fs = std::filesystem;
using testing_support::ParseLogFile;
using testing_support::ReadFile;
using testing_support::TempDir;
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
    int flushes = 0;
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

    void write(const char* data, std::size_t size) override {
        std::lock_guard lock(out_->mutex);
        out_->written.append(data, size);
    }
    void flush() override {
        std::lock_guard lock(out_->mutex);
        ++out_->flushes;
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

TEST_F(LoggerTest, WritesWellFormedUtf8LinesWithClampedLevelNames) {
    const auto output = std::make_shared<counted_output>();
    {
        auto owned = Counted(output, -10);
        logger& log = *owned;
        logger_stream(level_inf, &log) << L"KinetraServicePluginImpl::Start" << " count " << 42;
        logger_stream(level_err, &log) << "Class::Method"
                                       << " flag " << true;
        log.log(-11, "below the threshold");
        log.log(-3, "low");
        log.log(7, "high");
        logger_stream(level_war, &log) << L"name \u00e9\u865a" << std::wstring(L" \U0001F600");
    }
    EXPECT_TRUE(output->closed);
    EXPECT_GE(output->flushes, 1);
    const auto bytes = output->written;
    const auto file = ParseLogFile(bytes);
    ASSERT_TRUE(file.malformed.empty()) << bytes;
    const std::pair<const char*, const char*> expected[] = {
        {"inf", "KinetraServicePluginImpl::Start count 42"},
        {"err", "Class::Method flag 1"},
        {"dbg", "low"},
        {"err", "high"},
        {"war", "name \xC3\xA9\xE8\x99\x9A \xF0\x9F\x98\x80"},
    };
    ASSERT_EQ(file.lines.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(file.lines[i].level, expected[i].first);
        EXPECT_EQ(file.lines[i].text, expected[i].second);
    }
    EXPECT_EQ(file.lines[0].pid, log_os::process_id());
    EXPECT_EQ(file.lines[0].tid, log_os::thread_id());
}

struct CountedValue {
    int* formatted;
};
std::ostream& operator<<(std::ostream& out, const CountedValue& value) {
    ++*value.formatted;
    return out << "counted";
}

TEST_F(LoggerTest, SuppressedOrEmptyStreamsQueueNothing) {
    int formatted = 0;
    const auto output = std::make_shared<counted_output>();
    {
        auto owned = Counted(output, level_inf);
        logger& log = *owned;
        logger_stream(level_dbg, &log) << L"wide" << CountedValue{&formatted} << 5;
        { logger_stream nothing_inserted(level_err, &log); }
        logger_stream(level_inf, &log) << static_cast<const char*>(nullptr);
        logger_stream(level_inf, &log) << "kept";
    }
    EXPECT_EQ(formatted, 0) << "a suppressed level must not format its values";
    const auto file = ParseLogFile(output->written);
    ASSERT_EQ(file.lines.size(), 1u);
    EXPECT_EQ(file.lines[0].text, "kept");
}

// The real limit, on sparse files: growing them costs nothing.
TEST_F(LoggerTest, StartRotatesOnlyAFileLargerThanTheLimit) {
    Grow(live(), kLogRotateBytes);
    { logger log(live_path(), level_inf); }
    EXPECT_FALSE(fs::exists(bk())) << "exactly the limit is not rotated";
    EXPECT_EQ(fs::file_size(live()), kLogRotateBytes);

    Grow(live(), kLogRotateBytes + 1);
    {
        logger log(live_path(), level_inf);
        log.log(level_inf, "first line after rotation");
    }
    EXPECT_EQ(fs::file_size(bk()), kLogRotateBytes + 1);
    const auto file = ParseLogFile(ReadFile(live()));
    ASSERT_EQ(file.lines.size(), 1u);
    EXPECT_EQ(file.lines[0].text, "first line after rotation");
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

TEST_F(LoggerTest, PathWithoutSlashKeepsBackupsInTheCurrentFolder) {
    const auto previous = fs::current_path();
    fs::current_path(dir.path());
    WriteFile(dir.path() / "plain.log", std::string(kSmallLimit + 1, 'o'));
    { logger log(std::make_unique<log_file>(L"plain.log"), level_inf, kSmallLimit); }
    fs::current_path(previous);
    EXPECT_EQ(fs::file_size(bk()), kSmallLimit + 1);
    EXPECT_EQ(fs::file_size(dir.path() / "plain.log"), 0u);
}

TEST_F(LoggerTest, MissingFolderLeavesTheLoggerWorkingButSilent) {
    {
        logger log(dir.file("missing/KinetraService.log"), level_inf);
        logger_stream(level_inf, &log) << "nowhere to go";
    }
    EXPECT_FALSE(fs::exists(dir.path() / "missing"));
}

TEST_F(LoggerTest, EveryLineQueuedBeforeDestructionReachesTheFile) {
    constexpr int kLines = 5000;
    const auto output = std::make_shared<counted_output>();
    {
        auto log = Counted(output, level_inf);
        for (int i = 0; i < kLines; ++i) {
            log->log(level_inf, "line " + std::to_string(i));
        }
    }
    const auto file = ParseLogFile(output->written);
    ASSERT_EQ(file.lines.size(), static_cast<std::size_t>(kLines));
    EXPECT_EQ(file.lines.back().text, "line " + std::to_string(kLines - 1));
}

TEST_F(LoggerTest, ConcurrentWritersLoseAndTearNoLine) {
    constexpr int kThreads = 8;
    constexpr int kLinesPerThread = 10000;
    const auto output = std::make_shared<counted_output>();
    {
        auto owned = Counted(output, level_inf);
        logger& log = *owned;
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
    const auto file = ParseLogFile(output->written);
    EXPECT_TRUE(file.malformed.empty());
    ASSERT_EQ(file.lines.size(), static_cast<std::size_t>(kThreads * kLinesPerThread));
    std::map<int, int> next_line;
    for (const auto& line : file.lines) {
        int writer = -1;
        int number = -1;
        ASSERT_EQ(std::sscanf(line.text.c_str(), "writer %d line %d", &writer, &number), 2);
        ASSERT_EQ(number, next_line[writer]++) << "lines of one writer keep their order";
    }
}

}  // namespace
}  // namespace core
