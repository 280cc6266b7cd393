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

#include "core/internal/log_repeats.h"
#include "core/log_sink.h"

namespace core {

constexpr int level_dbg = 0;
constexpr int level_inf = 1;
constexpr int level_act = 2;
constexpr int level_war = 3;
constexpr int level_err = 4;

// The live file is rotated once it grows past this many bytes.
constexpr std::uint64_t kLogRotateBytes = 20 * 1024 * 1024;

// The bounds that keep the log working whatever the peers send (their text reaches many lines).
// A line's text is cut after this many bytes as written to the file, escapes included; a marker
// gives the bytes cut. Every line the plug-in writes itself is far shorter.
constexpr std::size_t kLogLineTextBytes = 8 * 1024;
// Lines waiting for the writer, in number and in bytes (a line's text plus its record). A
// writer held up by a slow or stalled file then costs at most twice this (the queue and the
// batch being written) instead of growing without end; ordinary trace comes nowhere near it.
// Lines that do not fit are counted and the next line written gives the count.
constexpr std::size_t kLogQueueLines = 32 * 1024;
constexpr std::size_t kLogQueueBytes = 8 * 1024 * 1024;

struct log_record {
    int level = level_inf;
    std::uint64_t time_ms = 0;  // milliseconds since 1970-01-01 UTC
    std::uint32_t pid = 0;
    std::uint32_t tid = 0;
    std::string text;
    // Bytes cut from the end of `text` before it was queued.
    std::size_t cut = 0;
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
    // `cut` bytes were already cut from the end of `text`. Never throws: a line that does not
    // fit the queue, or for which memory runs out, is counted as dropped.
    int log(int level, std::string_view text, std::size_t cut = 0) noexcept;
    // Counts a line its caller lost (it ran out of memory composing it).
    void count_lost() noexcept;
    // Returns at once: the writer flushes the file after every batch, so a line queued before
    // this call reaches the file with the batch that writes it. A caller never waits for a
    // batch write.
    void flush() {}
    int level() const { return level_; }

private:
    friend class log_wake_scope;
    void defer_wakes();
    void end_deferring();
    // Queued records; slots past `count` keep their text's capacity for the next lines, so a
    // steady stream of lines allocates nothing.
    struct record_pool {
        std::vector<log_record> records;
        std::size_t count = 0;
    };

    // Lines dropped since the last line that reported them, by reason.
    struct drop_counts {
        std::uint64_t queue_full = 0;
        std::uint64_t no_memory = 0;
        std::uint64_t failed_write = 0;
        std::uint64_t total() const { return queue_full + no_memory + failed_write; }
        void add(const drop_counts& other);
    };

    void run();
    void write_batch();
    void write_summaries(std::uint64_t time_ms);
    void report_dropped(std::uint64_t time_ms);
    bool hand_over();
    void release_batch();
    void append_line(int level, std::uint64_t time_ms, std::uint32_t tid, std::string_view text,
                     std::size_t cut);
    void stop();

    // Guards the queue and the flags only; the writer formats and writes without it.
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    bool writer_running_ = false;
    // The writer is waiting for lines: the next caller wakes it.
    bool writer_idle_ = false;
    // Open wake scopes, and whether a line came while one was open and the writer slept.
    std::size_t deferring_ = 0;
    bool wake_deferred_ = false;
    record_pool queue_;
    std::size_t queued_bytes_ = 0;
    drop_counts dropped_;
    const int level_;
    const std::uint32_t pid_;
    const std::uint64_t rotate_bytes_;
    // The sink, the batch and the line buffer belong to the writer thread alone (and to the
    // constructor and stop(), before and after it runs).
    const std::unique_ptr<log_sink> sink_;
    record_pool batch_;
    std::string lines_;
    // Records whose lines are in `lines_`, and the drop counts that lines_ reports: both are
    // dropped again when the hand-over fails.
    std::uint64_t lines_records_ = 0;
    drop_counts lines_reported_;
    drop_counts pending_;
    internal::log_repeats repeats_;
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

// While a scope lives, a line that finds the writer asleep leaves it asleep, and the last scope
// to end wakes it: a timer run that logs several lines costs one wake-up of the writer, not one
// per line. Lines of other threads meanwhile wait as long as the scope, never longer. Scopes
// nest and may overlap on several threads; the logger outlives them. Not kept per thread: a
// thread-local of the module would stay with the host's threads after the module unloads.
class log_wake_scope {
public:
    explicit log_wake_scope(logger* target = get_logger()) noexcept;
    ~log_wake_scope();
    log_wake_scope(const log_wake_scope&) = delete;
    log_wake_scope& operator=(const log_wake_scope&) = delete;

private:
    logger* const target_;
};

}  // namespace core
