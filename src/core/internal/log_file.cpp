#include "core/internal/log_file.h"

namespace core {

log_file::log_file(std::wstring path) : path_(std::move(path)) {
    if (!path_.empty()) {
        open();
    }
}

log_file::~log_file() {
    close();
}

bool log_file::open() {
    close();
    buffer_.clear();
    handle_ = log_os::open_append(path_);
    good_ = handle_ != -1;
    position_ = good_ ? log_os::file_size(handle_) : 0;
    return good_;
}

void log_file::close() {
    if (handle_ == -1) {
        return;
    }
    flush();
    if (!log_os::close(handle_)) {
        good_ = false;
    }
    handle_ = -1;
}

void log_file::write(const char* data, std::size_t size) {
    if (!good_) {
        return;
    }
    buffer_.append(data, size);
    position_ += size;
}

void log_file::flush() {
    if (!good_ || buffer_.empty()) {
        return;
    }
    good_ = log_os::write_all(handle_, buffer_.data(), buffer_.size());
    buffer_.clear();
}

// The newest backup is "kinetra.log.bk", the older "kinetra.log.bk.bk"; the oldest is lost.
void log_file::rotate() {
    if (!good_) {
        return;
    }
    close();
    const auto slash = path_.rfind(L'/');
    const std::wstring folder = slash == std::wstring::npos ? L"" : path_.substr(0, slash + 1);
    const std::wstring bk = folder + L"kinetra.log.bk";
    const std::wstring bkbk = folder + L"kinetra.log.bk.bk";
    if (log_os::can_open_read_write(bk)) {
        if (log_os::can_open_read_write(bkbk)) {
            log_os::remove_file(bkbk);
        }
        log_os::rename_file(bk, bkbk);
        log_os::remove_file(bk);
    }
    log_os::rename_file(path_, bk);
    open();
}

std::unique_ptr<log_sink> open_log_file(const std::wstring& path) {
    return std::make_unique<log_file>(path);
}

}  // namespace core
