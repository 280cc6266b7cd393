// The process-wide asynchronous file logger: callers queue lines, one writer thread formats,
// writes and rotates the file.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
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
    int log(int level, std::string_view text);
    // Returns at once: the writer flushes the file after every batch, so a line queued before
    // this call reaches the file with the batch that writes it. A caller never waits for a
    // batch write.
    void flush() {}
    int level() const { return level_; }

private:
    // Queued records; slots past `count` keep their text's capacity for the next lines, so a
    // steady stream of lines allocates nothing.
    struct record_pool {
        std::vector<log_record> records;
        std::size_t count = 0;
    };

    void run();
    void write_batch();
    void append_line(const log_record& record);
    void stop();

    // Guards the queue and the flags only; the writer formats and writes without it.
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    bool writer_running_ = false;
    // The writer is waiting for lines: the next caller wakes it.
    bool writer_idle_ = false;
    record_pool queue_;
    const int level_;
    const std::uint32_t pid_;
    const std::uint64_t rotate_bytes_;
    // The sink, the batch and the line buffer belong to the writer thread alone (and to the
    // constructor and stop(), before and after it runs).
    const std::unique_ptr<log_sink> sink_;
    record_pool batch_;
    std::string lines_;
    std::int64_t header_second_ = -1;
    char header_time_[80] = {};
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
