#include "core/internal/log_file.h"

namespace core {

log_file::log_file(std::wstring path) : path_(std::move(path)) {
    open();
}

log_file::~log_file() {
    close();
}

bool log_file::open() {
    close();
    if (path_.empty()) {
        return false;
    }
    handle_ = log_os::open_append(path_);
    position_ = handle_ != -1 ? log_os::file_size(handle_) : 0;
    return handle_ != -1;
}

void log_file::close() {
    if (handle_ != -1) {
        log_os::close(handle_);
        handle_ = -1;
    }
}

// One failed write (a disk full for a moment, a file removed under the logger) must not end
// logging for good, and the file must not keep the part of a line that did get written.
bool log_file::write(const char* data, std::size_t size) {
    if (handle_ == -1 && !open()) {
        return false;
    }
    const std::uint64_t start = log_os::file_size(handle_);
    if (log_os::write_all(handle_, data, size)) {
        position_ = start + size;
        return true;
    }
    log_os::cut_back(handle_, path_, start);
    close();
    return false;
}

// The newest backup is "kinetra.log.bk", the older "kinetra.log.bk.bk"; the oldest is lost.
void log_file::rotate() {
    if (handle_ == -1) {
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
