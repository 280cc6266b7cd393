#include "core/logger.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <utility>

#include "core/internal/log_file.h"
#include "core/internal/log_text.h"
#include "core/prefetch.h"
#include "core/thread_name.h"

namespace core {
namespace {

const char* const kLevelNames[] = {"dbg", "inf", "act", "war", "err"};
constexpr std::string_view kEol = "\r\n";
// The writer hands formatted lines to the sink in pieces of about this size.
constexpr std::size_t kHandOverBytes = 64 * 1024;
// Pooled records kept after a batch, the longest text a pooled record keeps, and the text
// capacity all pooled records of one pool keep together.
constexpr std::size_t kPooledRecords = 8192;
constexpr std::size_t kPooledTextBytes = 4096;
constexpr std::size_t kPooledBytes = 1024 * 1024;
// How long the writer waits for more lines after a batch before it sleeps until woken, when
// the batch came less than kRunGap after the one before.
constexpr std::chrono::milliseconds kLinger{2};
constexpr std::chrono::milliseconds kRunGap{50};

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

int logger::log(int level, std::string_view text, std::size_t cut) noexcept {
    if (level < level_) {
        return 0;
    }
    // More than a line's room can never reach the file, so more is never queued.
    if (text.size() > kLogLineTextBytes) {
        cut += text.size() - kLogLineTextBytes;
        text = text.substr(0, kLogLineTextBytes);
    }
    const std::size_t charge = text.size() + sizeof(log_record);
    const std::uint64_t time_ms = now_ms();
    const std::uint32_t tid = this_thread_id();
    bool wake = false;
    {
        std::lock_guard lock(mutex_);
        if (!writer_running_) {
            return 0;
        }
        if (queue_.count >= kLogQueueLines || queued_bytes_ + charge > kLogQueueBytes) {
            ++dropped_.queue_full;
            return 0;
        }
        try {
            if (queue_.count == queue_.records.size()) {
                queue_.records.emplace_back();
            }
            queue_.records[queue_.count].text.assign(text);
        } catch (...) {
            ++dropped_.no_memory;
            return 0;
        }
        log_record& record = queue_.records[queue_.count++];
        record.level = level;
        record.time_ms = time_ms;
        record.pid = pid_;
        record.tid = tid;
        record.cut = cut;
        queued_bytes_ += charge;
        // The next pooled record was last read by the writer on its own core; owning it before
        // the next line keeps that transfer off the unlock, which waits for every store above.
        if (queue_.count < queue_.records.size()) {
            const log_record& next = queue_.records[queue_.count];
            prefetch_for_write(&next, sizeof next);
            // The next line is likely about as long as this one.
            prefetch_for_write(next.text.data(), std::min(next.text.capacity(), text.size()));
        }
        if (writer_idle_ && deferring_ > 0) {
            wake_deferred_ = true;
        } else {
            wake = writer_idle_;
            writer_idle_ = false;
        }
    }
    // Only a waiting writer needs the signal; a busy one takes this line with its next batch.
    if (wake) {
        wake_.notify_one();
    }
    return 0;
}

void logger::defer_wakes() {
    std::lock_guard lock(mutex_);
    ++deferring_;
}

void logger::end_deferring() {
    bool wake = false;
    {
        std::lock_guard lock(mutex_);
        if (--deferring_ == 0 && std::exchange(wake_deferred_, false) && writer_idle_) {
            writer_idle_ = false;
            wake = true;
        }
    }
    if (wake) {
        wake_.notify_one();
    }
}

log_wake_scope::log_wake_scope(logger* target) noexcept : target_(target) {
    if (target_ != nullptr) {
        target_->defer_wakes();
    }
}

log_wake_scope::~log_wake_scope() {
    if (target_ != nullptr) {
        target_->end_deferring();
    }
}

void logger::count_lost() noexcept {
    std::lock_guard lock(mutex_);
    ++dropped_.no_memory;
}

void logger::drop_counts::add(const drop_counts& other) {
    queue_full += other.queue_full;
    no_memory += other.no_memory;
    failed_write += other.failed_write;
}

void logger::run() {
    name_this_thread("kinetra-log");
    std::chrono::steady_clock::time_point previous_batch{};
    bool in_run = false;
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            // In a run of batches, lines that follow a batch closely are picked up after a short
            // linger without anyone waking the writer: waking it costs the caller a system call.
            // Only after a quiet linger does the writer ask the next caller to wake it. A lone
            // batch, the usual case while the plug-in idles, goes straight back to sleep: the
            // linger would only wake the writer a second time.
            if (in_run) {
                wake_.wait_for(lock, kLinger, [this] { return stop_ || queue_.count > 0; });
            }
            while (!stop_ && queue_.count == 0) {
                writer_idle_ = true;
                wake_.wait(lock);
            }
            writer_idle_ = false;
            pending_.add(dropped_);
            dropped_ = {};
            if (queue_.count == 0) {
                writer_running_ = false;
                lock.unlock();
                // The last second's repeat counts and drops are written before the file closes.
                repeats_.end_second_before(-1);
                write_batch();
                return;
            }
            std::swap(queue_, batch_);
            queued_bytes_ = 0;
        }
        const auto now = std::chrono::steady_clock::now();
        in_run = now - previous_batch < kRunGap;
        previous_batch = now;
        write_batch();
    }
}

// Runs without the callers' mutex: callers keep queueing into the other pool meanwhile. Never
// throws: a line that cannot be formatted for want of memory is counted as dropped.
void logger::write_batch() {
    const std::uint64_t now = now_ms();
    report_dropped(now);
    write_summaries(now);
    bool failed = false;
    for (std::size_t i = 0; i < batch_.count; ++i) {
        const log_record& record = batch_.records[i];
        if (failed) {
            ++pending_.failed_write;
            continue;
        }
        try {
            repeats_.end_second_before(static_cast<std::int64_t>(record.time_ms / 1000));
            write_summaries(record.time_ms);
            if (!repeats_.admit(record.level, record.text,
                                static_cast<std::int64_t>(record.time_ms / 1000))) {
                continue;
            }
            append_line(record.level, record.time_ms, record.tid, record.text, record.cut);
            ++lines_records_;
        } catch (...) {
            ++pending_.no_memory;
        }
        if (lines_.size() >= kHandOverBytes) {
            failed = !hand_over();
        }
    }
    if (!failed) {
        hand_over();
    }
    release_batch();
    // A batch that carried the file past the limit was written whole; rotate before the next.
    if (sink_->size() > rotate_bytes_) {
        sink_->rotate();
    }
}

// The line that gives the lines dropped since the last such line goes before the batch's own.
void logger::report_dropped(std::uint64_t time_ms) {
    if (pending_.total() == 0) {
        return;
    }
    try {
        std::string text = "logger dropped " + std::to_string(pending_.total()) +
                           " lines: queue full " + std::to_string(pending_.queue_full) +
                           ", no memory " + std::to_string(pending_.no_memory) +
                           ", failed writes " + std::to_string(pending_.failed_write);
        append_line(level_err, time_ms, this_thread_id(), text, 0);
        lines_reported_.add(pending_);
        pending_ = {};
    } catch (...) {
        // The counts stay pending for the next batch.
    }
}

void logger::write_summaries(std::uint64_t time_ms) {
    for (const auto& repeat : repeats_.take_summaries()) {
        try {
            append_line(repeat.level, time_ms, this_thread_id(),
                        "logger skipped " + std::to_string(repeat.count) +
                            " more copies of a line within one second: " + repeat.text,
                        0);
            ++lines_records_;
        } catch (...) {
            ++pending_.no_memory;
        }
    }
}

// Hands the formatted lines to the file. A failed write leaves none of them in the file; they
// are counted with the lines they reported, and the next batch tries again.
bool logger::hand_over() {
    const bool written = lines_.empty() || sink_->write(lines_.data(), lines_.size());
    if (written) {
        lines_reported_ = {};
    } else {
        pending_.failed_write += lines_records_;
        pending_.add(lines_reported_);
        lines_reported_ = {};
    }
    lines_.clear();
    lines_records_ = 0;
    return written;
}

// Pooled records keep their text's capacity for the next lines, but only up to a total, so that
// a burst of long lines does not stay allocated.
void logger::release_batch() {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < batch_.count; ++i) {
        std::string& text = batch_.records[i].text;
        if (text.capacity() > kPooledTextBytes || kept + text.capacity() > kPooledBytes) {
            std::string().swap(text);
        }
        kept += text.capacity();
    }
    batch_.count = 0;
    if (batch_.records.size() > kPooledRecords) {
        batch_.records.resize(kPooledRecords);
        batch_.records.shrink_to_fit();
    }
}

void logger::append_line(int level, std::uint64_t time_ms, std::uint32_t tid, std::string_view text,
                         std::size_t cut) {
    // The calendar part changes once a second at most, so it is formatted once per second.
    const auto second = static_cast<std::int64_t>(time_ms / 1000);
    if (second != header_second_) {
        const std::tm local = log_os::local_time(static_cast<std::time_t>(second));
        std::snprintf(header_time_, sizeof header_time_, "[%04d-%02d-%02d %02d:%02d:%02d ",
                      local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                      local.tm_min, local.tm_sec);
        header_second_ = second;
    }
    const auto ms = static_cast<unsigned>(time_ms % 1000);
    const char millis[3] = {static_cast<char>('0' + ms / 100),
                            static_cast<char>('0' + ms / 10 % 10),
                            static_cast<char>('0' + ms % 10)};
    const std::size_t start = lines_.size();
    try {
        lines_.append(header_time_);
        lines_.append(millis, sizeof millis);
        lines_.append("][pid:");
        append_id(lines_, pid_);
        lines_.append("][tid:");
        append_id(lines_, tid);
        lines_.push_back(']');
        lines_.append(kLevelNames[std::clamp(level, level_dbg, level_err)]);
        lines_.push_back(' ');
        cut += text.size() - internal::AppendLogText(lines_, text, kLogLineTextBytes);
        if (cut > 0) {
            internal::AppendCutMarker(lines_, cut);
        }
        lines_.append(kEol);
    } catch (...) {
        // Only whole lines are handed to the file.
        lines_.resize(start);
        throw;
    }
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
    const std::wstring folder = log_os::app_data_folder();
    return folder.empty() ? folder : folder + kLogFolder + L"/KinetraService.log";
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
