// The log's file layer: an append-only, shared-access file with a write buffer, plus the few
// operating-system calls the logger needs. The OS parts live in logger_win32.cpp/logger_posix.cpp.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace core {

class log_file {
public:
    log_file() = default;
    ~log_file();
    log_file(const log_file&) = delete;
    log_file& operator=(const log_file&) = delete;

    // Opens for appending in binary mode, letting other processes read and write meanwhile.
    bool open(const std::wstring& path);
    // A failed close leaves the file in fail state.
    void close();
    void write(const char* data, std::size_t size);
    // Hands the buffered bytes to the OS.
    void flush();
    bool good() const { return good_; }
    // Bytes in the file, counting those still buffered.
    std::uint64_t position() const { return position_; }

private:
    std::intptr_t handle_ = -1;
    bool good_ = false;
    std::uint64_t position_ = 0;
    std::string buffer_;
};

// OS services for the logger.
namespace log_os {

// Returns -1 when the file cannot be opened.
std::intptr_t open_append(const std::wstring& path);
bool write_all(std::intptr_t handle, const char* data, std::size_t size);
std::uint64_t file_size(std::intptr_t handle);
bool close(std::intptr_t handle);
// Whether the file exists and can be opened for reading and writing.
bool can_open_read_write(const std::wstring& path);
// Never replaces an existing target.
bool rename_file(const std::wstring& from, const std::wstring& to);
bool remove_file(const std::wstring& path);
std::uint32_t process_id();
std::uint32_t thread_id();
std::tm local_time(std::time_t seconds);
// The user's application-data folder, created when missing.
std::wstring app_data_folder();

}  // namespace log_os
}  // namespace core
