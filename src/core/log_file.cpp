#include "core/log_file.h"

namespace core {

log_file::~log_file() {
    close();
}

bool log_file::open(const std::wstring& path) {
    close();
    buffer_.clear();
    handle_ = log_os::open_append(path);
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

}  // namespace core
