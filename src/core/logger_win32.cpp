// The logger's OS layer on Windows: share-mode file handles, renames that never replace, and
// the roaming application-data folder.
#include <shlobj.h>
#include <windows.h>

#include <ctime>

#include "core/internal/log_file.h"

namespace core::log_os {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE to_handle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

}  // namespace

std::intptr_t open_append(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, kShareAll, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<std::intptr_t>(file);
}

bool write_all(std::intptr_t handle, const char* data, std::size_t size) {
    while (size > 0) {
        const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(to_handle(handle), data, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

// The append-only handle cannot change the file's end, so a second handle cuts it.
void cut_back(std::intptr_t, const std::wstring& path, std::uint64_t size) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    if (SetFilePointerEx(file, end, nullptr, FILE_BEGIN)) {
        SetEndOfFile(file);
    }
    CloseHandle(file);
}

std::uint64_t file_size(std::intptr_t handle) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(to_handle(handle), &size)) {
        return 0;
    }
    return static_cast<std::uint64_t>(size.QuadPart);
}

bool close(std::intptr_t handle) {
    return CloseHandle(to_handle(handle)) != 0;
}

bool can_open_read_write(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

bool rename_file(const std::wstring& from, const std::wstring& to) {
    return MoveFileW(from.c_str(), to.c_str()) != 0;
}

bool remove_file(const std::wstring& path) {
    return DeleteFileW(path.c_str()) != 0;
}

std::uint32_t process_id() {
    return GetCurrentProcessId();
}

std::uint32_t thread_id() {
    return GetCurrentThreadId();
}

std::tm local_time(std::time_t seconds) {
    std::tm local{};
    localtime_s(&local, &seconds);
    return local;
}

std::wstring app_data_folder() {
    wchar_t folder[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) {
        SHCreateDirectoryExW(nullptr, folder, nullptr);
        return folder;
    }
    // The temporary-files folder ends in a backslash.
    GetTempPathW(MAX_PATH, folder);
    return folder;
}

}  // namespace core::log_os
