// Threads from /proc, heap bytes from the sanitizer allocator or glibc's mallinfo2.
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/process_probe.h"

// Declared weak: present only when a sanitizer runtime is linked, which replaces malloc, so
// that mallinfo2 would no longer see the heap.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));

namespace sim {

std::size_t ProcessThreadCount() {
    std::error_code error;
    std::size_t count = 0;
    for (std::filesystem::directory_iterator at("/proc/self/task", error), end; !error && at != end;
         at.increment(error)) {
        ++count;
    }
    return count;
}

namespace {

std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The number after `key` in /proc's status text, 0 when absent.
std::uint64_t StatusValue(const std::string& status, const std::string& key) {
    const auto at = status.find(key);
    return at == std::string::npos ? 0 : std::stoull(status.substr(at + key.size()));
}

std::optional<ThreadUse> ReadThread(const std::filesystem::path& task) {
    const std::string status = ReadWhole(task / "status");
    // The first figure of schedstat is the time on a processor in nanoseconds.
    const std::string schedstat = ReadWhole(task / "schedstat");
    if (status.empty() || schedstat.empty()) {
        return std::nullopt;
    }
    ThreadUse use;
    use.id = std::stoull(task.filename().string());
    use.name = ReadWhole(task / "comm");
    if (!use.name.empty() && use.name.back() == '\n') {
        use.name.pop_back();
    }
    use.waits = StatusValue(status, "\nvoluntary_ctxt_switches:");
    use.cpuNs = std::stoull(schedstat);
    return use;
}

}  // namespace

std::vector<ThreadUse> ProcessThreads() {
    std::vector<ThreadUse> threads;
    std::error_code error;
    for (std::filesystem::directory_iterator at("/proc/self/task", error), end; !error && at != end;
         at.increment(error)) {
        if (auto use = ReadThread(at->path())) {
            threads.push_back(std::move(*use));
        }
    }
    return threads;
}

std::optional<ThreadUse> ThisThread() {
    return ReadThread(std::filesystem::path("/proc/self/task") / std::to_string(::gettid()));
}

std::optional<ThreadSwitches> ThisThreadSwitches() {
    struct rusage use {};
    if (::getrusage(RUSAGE_THREAD, &use) != 0) {
        return std::nullopt;
    }
    return ThreadSwitches{static_cast<std::uint64_t>(use.ru_nvcsw),
                          static_cast<std::uint64_t>(use.ru_nivcsw)};
}

std::optional<std::size_t> LiveHeapBytes() {
    if (&__sanitizer_get_current_allocated_bytes != nullptr) {
        return __sanitizer_get_current_allocated_bytes();
    }
    const struct mallinfo2 info = ::mallinfo2();
    return info.uordblks + info.hblkhd;
}

}  // namespace sim
