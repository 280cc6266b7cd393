// The log's file layer: an append-only, shared-access file and its two backups, plus the few
// operating-system calls the logger needs. The OS parts live in logger_win32.cpp/logger_posix.cpp.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "core/log_sink.h"

namespace core {

class log_file final : public log_sink {
public:
    // Opens `path` for appending in binary mode, letting other processes read and write
    // meanwhile. An empty path opens nothing.
    explicit log_file(std::wstring path);
    ~log_file() override;
    log_file(const log_file&) = delete;
    log_file& operator=(const log_file&) = delete;

    // Writes straight through (the logger hands over large pieces). A failed write cuts the
    // file back to where it started and closes it; the next write opens it again.
    bool write(const char* data, std::size_t size) override;
    void close() override;
    std::uint64_t size() override { return position_; }
    // Keeps two backups beside the live file; a file that is not open is not rotated.
    void rotate() override;

private:
    bool open();

    const std::wstring path_;
    std::intptr_t handle_ = -1;
    std::uint64_t position_ = 0;
};

// The log's folder below the application-data folder.
inline constexpr wchar_t kLogFolder[] = L"/MeruKinetra/log";

// OS services for the logger.
namespace log_os {

// Returns -1 when the file cannot be opened.
std::intptr_t open_append(const std::wstring& path);
bool write_all(std::intptr_t handle, const char* data, std::size_t size);
std::uint64_t file_size(std::intptr_t handle);
// Cuts the file open as `handle` at `path` back to `size` bytes (a write that failed part way).
void cut_back(std::intptr_t handle, const std::wstring& path, std::uint64_t size);
bool close(std::intptr_t handle);
// Whether the file exists and can be opened for reading and writing.
bool can_open_read_write(const std::wstring& path);
// Never replaces an existing target.
bool rename_file(const std::wstring& from, const std::wstring& to);
bool remove_file(const std::wstring& path);
std::uint32_t process_id();
std::uint32_t thread_id();
std::tm local_time(std::time_t seconds);
// The user's application-data folder, created when missing; empty when there is none the
// log may safely use.
std::wstring app_data_folder();

}  // namespace log_os
}  // namespace core
