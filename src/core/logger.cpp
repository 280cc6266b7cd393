#include "core/logger.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cstdio>

#include "core/internal/log_file.h"

namespace core {
namespace {

const char* const kLevelNames[] = {"dbg", "inf", "act", "war", "err"};
constexpr std::string_view kEol = "\r\n";
// The writer hands formatted lines to the sink in pieces of about this size.
constexpr std::size_t kHandOverBytes = 64 * 1024;
// Pooled records kept after a batch, and the longest text a pooled record keeps.
constexpr std::size_t kPooledRecords = 8192;
constexpr std::size_t kPooledTextBytes = 4096;
// How long the writer waits for more lines after a batch before it sleeps until woken.
constexpr std::chrono::milliseconds kLinger{2};

std::uint64_t now_ms() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count());
}

// Asked once per thread: the id cannot change while the thread runs.
std::uint32_t this_thread_id() {
    thread_local const std::uint32_t id = log_os::thread_id();
    return id;
}

// `value` as "%-6d" formats it.
void append_id(std::string& out, std::uint32_t value) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, static_cast<int>(value)).ptr;
    const auto size = static_cast<std::size_t>(end - digits);
    out.append(digits, size);
    if (size < 6) {
        out.append(6 - size, ' ');
    }
}

}  // namespace

logger::logger(const std::wstring& path, int level) : logger(open_log_file(path), level) {}

logger::logger(std::unique_ptr<log_sink> sink, int level, std::uint64_t rotate_bytes)
    : level_(level),
      pid_(log_os::process_id()),
      rotate_bytes_(rotate_bytes),
      sink_(std::move(sink)) {
    if (sink_->size() > rotate_bytes_) {
        sink_->rotate();
    }
    writer_running_ = true;
    try {
        writer_ = std::thread([this] { run(); });
    } catch (...) {
        writer_running_ = false;
        throw;
    }
}

logger::~logger() {
    stop();
}

int logger::log(int level, std::string_view text) {
    if (level < level_) {
        return 0;
    }
    const std::uint64_t time_ms = now_ms();
    const std::uint32_t tid = this_thread_id();
    bool wake = false;
    {
        std::lock_guard lock(mutex_);
        if (!writer_running_) {
            return 0;
        }
        if (queue_.count == queue_.records.size()) {
            queue_.records.emplace_back();
        }
        log_record& record = queue_.records[queue_.count++];
        record.level = level;
        record.time_ms = time_ms;
        record.pid = pid_;
        record.tid = tid;
        record.text.assign(text);
        wake = writer_idle_;
        writer_idle_ = false;
    }
    // Only a waiting writer needs the signal; a busy one takes this line with its next batch.
    if (wake) {
        wake_.notify_one();
    }
    return 0;
}

void logger::run() {
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            // Lines that follow a batch closely are picked up after a short linger without
            // anyone waking the writer: waking it costs the caller a system call. Only after a
            // quiet linger does the writer ask the next caller to wake it.
            wake_.wait_for(lock, kLinger, [this] { return stop_ || queue_.count > 0; });
            while (!stop_ && queue_.count == 0) {
                writer_idle_ = true;
                wake_.wait(lock);
            }
            writer_idle_ = false;
            if (queue_.count == 0) {
                writer_running_ = false;
                return;
            }
            std::swap(queue_, batch_);
        }
        write_batch();
    }
}

// Runs without the callers' mutex: callers keep queueing into the other pool meanwhile.
void logger::write_batch() {
    for (std::size_t i = 0; i < batch_.count; ++i) {
        log_record& record = batch_.records[i];
        append_line(record);
        if (record.text.capacity() > kPooledTextBytes) {
            record.text = std::string();
        }
        if (lines_.size() >= kHandOverBytes) {
            sink_->write(lines_.data(), lines_.size());
            lines_.clear();
        }
    }
    sink_->write(lines_.data(), lines_.size());
    lines_.clear();
    batch_.count = 0;
    if (batch_.records.size() > kPooledRecords) {
        batch_.records.resize(kPooledRecords);
    }
    sink_->flush();
    // A batch that carried the file past the limit was written whole; rotate before the next.
    if (sink_->size() > rotate_bytes_) {
        sink_->rotate();
    }
}

void logger::append_line(const log_record& record) {
    // The calendar part changes once a second at most, so it is formatted once per second.
    const auto second = static_cast<std::int64_t>(record.time_ms / 1000);
    if (second != header_second_) {
        const std::tm local = log_os::local_time(static_cast<std::time_t>(second));
        std::snprintf(header_time_, sizeof header_time_, "[%04d-%02d-%02d %02d:%02d:%02d ",
                      local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                      local.tm_min, local.tm_sec);
        header_second_ = second;
    }
    const auto ms = static_cast<unsigned>(record.time_ms % 1000);
    const char millis[3] = {static_cast<char>('0' + ms / 100),
                            static_cast<char>('0' + ms / 10 % 10),
                            static_cast<char>('0' + ms % 10)};
    lines_.append(header_time_);
    lines_.append(millis, sizeof millis);
    lines_.append("][pid:");
    append_id(lines_, record.pid);
    lines_.append("][tid:");
    append_id(lines_, record.tid);
    lines_.push_back(']');
    lines_.append(kLevelNames[std::clamp(record.level, level_dbg, level_err)]);
    lines_.push_back(' ');
    lines_.append(record.text);
    lines_.append(kEol);
}

void logger::stop() {
    {
        std::lock_guard lock(mutex_);
        if (!writer_running_) {
            return;
        }
        stop_ = true;
    }
    wake_.notify_all();
    if (writer_.joinable()) {
        writer_.join();
    }
    sink_->close();
}

std::wstring default_log_path() {
    return log_os::app_data_folder() + L"/MeruKinetra/log/KinetraService.log";
}

namespace {

struct global_logger {
    std::mutex mutex;
    std::shared_ptr<logger> owner;
    std::atomic<logger*> current{nullptr};

    // A logger still installed here was never uninitialised, so this runs at process exit or
    // library unload, where Windows holds the loader lock and joining the writer would
    // deadlock. The logger and its thread are abandoned to the OS instead.
    ~global_logger() {
        if (owner) {
            new std::shared_ptr<logger>(std::move(owner));
        }
    }
};

global_logger& global() {
    static global_logger instance;
    return instance;
}

}  // namespace

void init_logger(std::wstring path, int level) {
    auto& g = global();
    std::lock_guard lock(g.mutex);
    if (g.owner) {
        return;
    }
    g.owner = std::make_shared<logger>(std::move(path), level);
    g.current = g.owner.get();
}

logger* get_logger() {
    return global().current.load();
}

void uninit_logger() {
    auto& g = global();
    std::shared_ptr<logger> last;
    {
        std::lock_guard lock(g.mutex);
        g.current = nullptr;
        last.swap(g.owner);
    }
}

}  // namespace core
