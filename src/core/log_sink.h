// Where the logger's lines go: the live log file with its two backups, or, in tests, a stand-in
// that keeps them in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace core {

// Used by the logger's writer thread alone (and before it starts and after it ends), never by
// two threads at once.
class log_sink {
public:
    virtual ~log_sink() = default;

    // Writes whole lines. False when they could not be written; then none of them stays in the
    // file (no half line), and the next write tries again.
    virtual bool write(const char* data, std::size_t size) = 0;
    // Called once, when the logger stops, after the last write.
    virtual void close() = 0;
    // Bytes in the live file, counting those still buffered.
    virtual std::uint64_t size() = 0;
    // Moves the live file to the backups and starts a new, empty one.
    virtual void rotate() = 0;
};

// The log file at `path`, opened for appending and shared with other processes (on POSIX
// without following a symbolic link: another user could plant one). Backups lie
// beside it as "kinetra.log.bk" (newest) and "kinetra.log.bk.bk". An empty path, or one that
// cannot be opened, gives a sink that drops everything and never rotates.
std::unique_ptr<log_sink> open_log_file(const std::wstring& path);

}  // namespace core
