#include "core/logger.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>

#include "core/internal/log_file.h"

namespace core {
namespace {

const char* const kLevelNames[] = {"dbg", "inf", "act", "war", "err"};
constexpr char kEol[] = "\r\n";

std::uint64_t now_ms() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count());
}

}  // namespace

logger::logger(const std::wstring& path, int level) : logger(open_log_file(path), level) {}

logger::logger(std::unique_ptr<log_sink> sink, int level, std::uint64_t rotate_bytes)
    : level_(level), rotate_bytes_(rotate_bytes), sink_(std::move(sink)) {
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

int logger::log(int level, std::string&& text) {
    if (level < level_) {
        return 0;
    }
    log_record record{level, now_ms(), log_os::process_id(), log_os::thread_id(), std::move(text)};
    {
        std::lock_guard lock(mutex_);
        if (!writer_running_) {
            return 0;
        }
        queue_.push_back(std::move(record));
    }
    wake_.notify_all();
    return 0;
}

void logger::flush() {
    std::lock_guard lock(mutex_);
    sink_->flush();
}

void logger::run() {
    std::vector<log_record> batch;
    std::unique_lock lock(mutex_);
    for (;;) {
        if (sink_->size() > rotate_bytes_) {
            sink_->rotate();
        }
        wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
        batch.clear();
        batch.swap(queue_);
        if (batch.empty() && stop_) {
            break;
        }
        for (const auto& record : batch) {
            write_record(record);
        }
        sink_->flush();
    }
    writer_running_ = false;
}

void logger::write_record(const log_record& record) {
    const auto seconds = static_cast<std::time_t>(record.time_ms / 1000);
    const std::tm local = log_os::local_time(seconds);
    const char* name = kLevelNames[std::clamp(record.level, level_dbg, level_err)];
    char header[64];
    const int size = std::snprintf(
        header, sizeof header, "[%04d-%02d-%02d %02d:%02d:%02d %03d][pid:%-6d][tid:%-6d]%s ",
        local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
        local.tm_sec, static_cast<int>(record.time_ms % 1000), static_cast<int>(record.pid),
        static_cast<int>(record.tid), name);
    std::string line;
    line.reserve(static_cast<std::size_t>(size) + record.text.size() + 2);
    line.append(header, static_cast<std::size_t>(std::clamp(size, 0, 63)));
    line += record.text;
    line += kEol;
    sink_->write(line.data(), line.size());
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
