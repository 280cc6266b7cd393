#include "core/logger.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

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

    TempDir dir;
};

TEST_F(LoggerTest, WritesWellFormedUtf8LinesWithClampedLevelNames) {
    {
        logger log(live_path(), -10);
        logger_stream(level_inf, &log) << L"KinetraServicePluginImpl::Start" << " count " << 42;
        logger_stream(level_err, &log) << "Class::Method"
                                       << " flag " << true;
        log.log(-11, "below the threshold");
        log.log(-3, "low");
        log.log(7, "high");
        logger_stream(level_war, &log) << L"name \u00e9\u865a" << std::wstring(L" \U0001F600");
    }
    const auto bytes = ReadFile(live());
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
    {
        logger log(live_path(), level_inf);
        logger_stream(level_dbg, &log) << L"wide" << CountedValue{&formatted} << 5;
        { logger_stream nothing_inserted(level_err, &log); }
        logger_stream(level_inf, &log) << static_cast<const char*>(nullptr);
        logger_stream(level_inf, &log) << "kept";
    }
    EXPECT_EQ(formatted, 0) << "a suppressed level must not format its values";
    const auto file = ParseLogFile(ReadFile(live()));
    ASSERT_EQ(file.lines.size(), 1u);
    EXPECT_EQ(file.lines[0].text, "kept");
}

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

TEST_F(LoggerTest, RotationShiftsBothBackupsAndLosesTheOldest) {
    WriteFile(bk(), "previous backup");
    WriteFile(bkbk(), "oldest backup");
    Grow(live(), kLogRotateBytes + 10);
    { logger log(live_path(), level_inf); }
    EXPECT_EQ(ReadFile(bkbk()), "previous backup");
    EXPECT_EQ(fs::file_size(bk()), kLogRotateBytes + 10);
    EXPECT_EQ(fs::file_size(live()), 0u);
}

TEST_F(LoggerTest, BatchCrossingTheLimitIsWrittenWholeThenRotated) {
    Grow(live(), kLogRotateBytes - 10);
    {
        logger log(live_path(), level_inf);
        log.log(level_inf, std::string(100, 'x'));
        for (int waited = 0; !fs::exists(bk()) && waited < 500; ++waited) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        log.log(level_inf, "after rotation");
    }
    const auto rotated = ReadFile(bk());
    ASSERT_GT(rotated.size(), kLogRotateBytes);
    const auto tail = ParseLogFile(rotated.substr(kLogRotateBytes - 10));
    ASSERT_EQ(tail.lines.size(), 1u);
    EXPECT_EQ(tail.lines[0].text, std::string(100, 'x'));
    const auto file = ParseLogFile(ReadFile(live()));
    ASSERT_EQ(file.lines.size(), 1u);
    EXPECT_EQ(file.lines[0].text, "after rotation");
}

TEST_F(LoggerTest, PathWithoutSlashKeepsBackupsInTheCurrentFolder) {
    const auto previous = fs::current_path();
    fs::current_path(dir.path());
    Grow(dir.path() / "plain.log", kLogRotateBytes + 1);
    { logger log(L"plain.log", level_inf); }
    fs::current_path(previous);
    EXPECT_EQ(fs::file_size(bk()), kLogRotateBytes + 1);
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
    {
        logger log(live_path(), level_inf);
        for (int i = 0; i < kLines; ++i) {
            log.log(level_inf, "line " + std::to_string(i));
        }
    }
    const auto file = ParseLogFile(ReadFile(live()));
    ASSERT_EQ(file.lines.size(), static_cast<std::size_t>(kLines));
    EXPECT_EQ(file.lines.back().text, "line " + std::to_string(kLines - 1));
}

TEST_F(LoggerTest, ConcurrentWritersLoseAndTearNoLine) {
    constexpr int kThreads = 8;
    constexpr int kLinesPerThread = 10000;
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
    const auto file = ParseLogFile(ReadFile(live()));
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
