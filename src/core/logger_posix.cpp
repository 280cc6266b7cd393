// The logger's OS layer on POSIX systems. Paths arrive as wide text and are used as UTF-8.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "core/internal/log_file.h"
#include "core/text.h"

namespace core::log_os {
namespace {

std::string native(const std::wstring& path) {
    return WideToUtf8(path);
}

void make_folders(const std::string& folder) {
    for (std::size_t at = folder.find('/', 1); at != std::string::npos;
         at = folder.find('/', at + 1)) {
        ::mkdir(folder.substr(0, at).c_str(), 0700);
    }
    ::mkdir(folder.c_str(), 0700);
}

// The shared temporary folder is the last resort, and any user can create folders there: the
// log's folders are trusted only when they are real folders of this user that no one else may
// write to.
std::wstring temporary_folder() {
    const std::string folder = "/tmp";
    const std::string below = native(kLogFolder);
    for (std::size_t at = below.find('/', 1);; at = below.find('/', at + 1)) {
        const std::string path = folder + below.substr(0, at);
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
            info.st_uid != ::geteuid() || (info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
            return {};
        }
        if (at == std::string::npos) {
            return Utf8ToWide(folder);
        }
    }
}

}  // namespace

// A symbolic link at the path is refused: where the folder is shared, its owner, not this
// user, would decide which file the log appends to. Opening does not wait for a reader when the
// path is a pipe; writes do.
std::intptr_t open_append(const std::wstring& path) {
    const int fd =
        ::open(native(path).c_str(),
               O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
    if (fd >= 0) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    }
    return fd;
}

void cut_back(std::intptr_t handle, const std::wstring&, std::uint64_t size) {
    // Nothing to cut on a pipe or a device.
    static_cast<void>(::ftruncate(static_cast<int>(handle), static_cast<off_t>(size)));
}

bool write_all(std::intptr_t handle, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(static_cast<int>(handle), data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

std::uint64_t file_size(std::intptr_t handle) {
    struct stat info {};
    if (::fstat(static_cast<int>(handle), &info) != 0) {
        return 0;
    }
    return static_cast<std::uint64_t>(info.st_size);
}

bool close(std::intptr_t handle) {
    return ::close(static_cast<int>(handle)) == 0;
}

bool can_open_read_write(const std::wstring& path) {
    const int fd = ::open(native(path).c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return true;
}

bool rename_file(const std::wstring& from, const std::wstring& to) {
    // A hard link fails when the target exists, which keeps the target as Windows renames do.
    const std::string source = native(from);
    const std::string target = native(to);
    if (::link(source.c_str(), target.c_str()) != 0) {
        return false;
    }
    return ::unlink(source.c_str()) == 0;
}

bool remove_file(const std::wstring& path) {
    return ::unlink(native(path).c_str()) == 0;
}

std::uint32_t process_id() {
    return static_cast<std::uint32_t>(::getpid());
}

std::uint32_t thread_id() {
    return static_cast<std::uint32_t>(::gettid());
}

std::tm local_time(std::time_t seconds) {
    std::tm local{};
    ::localtime_r(&seconds, &local);
    return local;
}

std::wstring app_data_folder() {
    std::string folder;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && data[0] == '/') {
        folder = data;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
        folder = std::string(home) + "/.local/share";
    } else {
        return temporary_folder();
    }
    make_folders(folder);
    return Utf8ToWide(folder);
}

}  // namespace core::log_os
