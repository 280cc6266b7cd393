// The process-wide asynchronous file logger: callers queue lines, one writer thread formats,
// writes and rotates the file.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/log_sink.h"

namespace core {

constexpr int level_dbg = 0;
constexpr int level_inf = 1;
constexpr int level_act = 2;
constexpr int level_war = 3;
constexpr int level_err = 4;

// The live file is rotated once it grows past this many bytes.
constexpr std::uint64_t kLogRotateBytes = 20 * 1024 * 1024;

struct log_record {
    int level = level_inf;
    std::uint64_t time_ms = 0;  // milliseconds since 1970-01-01 UTC
    std::uint32_t pid = 0;
    std::uint32_t tid = 0;
    std::string text;
};

class logger {
public:
    // Opens (and, when oversized, rotates) the file, then starts the writer thread. Throws
    // std::system_error when the thread cannot be started.
    logger(const std::wstring& path, int level);
    // The same on any sink (not null), rotated once it holds more than `rotate_bytes` (tests use
    // a smaller limit or a sink in memory).
    logger(std::unique_ptr<log_sink> sink, int level, std::uint64_t rotate_bytes = kLogRotateBytes);
    ~logger();
    logger(const logger&) = delete;
    logger& operator=(const logger&) = delete;

    // Queues one line; lines below the threshold or arriving after the writer ended vanish.
    int log(int level, std::string&& text);
    void flush();
    int level() const { return level_; }

private:
    void run();
    void write_record(const log_record& record);
    void stop();

    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    bool writer_running_ = false;
    const int level_;
    const std::uint64_t rotate_bytes_;
    const std::unique_ptr<log_sink> sink_;
    std::vector<log_record> queue_;
    std::thread writer_;
};

// The log file the plug-in writes: the user's application-data folder followed by
// "/MeruKinetra/log/KinetraService.log".
std::wstring default_log_path();

// Creates the process-wide logger unless one exists.
void init_logger(std::wstring path, int level);
// The process-wide logger, or null.
logger* get_logger();
// Drops the process-wide logger; everything queued is written before the file closes.
void uninit_logger();

}  // namespace core
