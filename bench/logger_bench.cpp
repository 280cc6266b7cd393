// The logger's caller cost against an asynchronous spdlog logger with a file sink: a line below
// the threshold, bursts of written lines and long runs, each from 1 and 4 threads.
// Both write the same text into a file of their own; the writers drain between bursts, outside
// the timed region, and after the run every line is counted in the file (ours is also parsed
// against the line format).
#include <benchmark/benchmark.h>
#include <spdlog/async.h>
#include <spdlog/async_logger.h>
#include <spdlog/pattern_formatter.h>
#include <spdlog/sinks/basic_file_sink.h>

#include <algorithm>
#include <atomic>
#include <barrier>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "allocation_counter.h"
#include "core/internal/log_file.h"
#include "core/logger_stream.h"
#include "support/log_lines.h"

namespace {

namespace fs = std::filesystem;

constexpr int kBurstLines = 4000;
constexpr int kRunLines = 150000;
// The plug-in's own form of a line: the wide method name, then a key and a number.
constexpr const wchar_t* kWideName = L"KinetraServicePluginImpl::OnMsg";
constexpr const char* kNarrowLine = "KinetraServicePluginImpl::OnMsg iType = {}";

fs::path LogPath(const char* side) {
    const fs::path folder = fs::temp_directory_path() /
                            ("kinetra_bench_log_" + std::to_string(core::log_os::process_id()));
    fs::create_directories(folder);
    const fs::path path = folder / (std::string(side) + ".log");
    fs::remove(path);
    return path;
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The real log file, counting the lines the writer hands over so a burst can wait for them.
class counted_file final : public core::log_sink {
public:
    counted_file(std::unique_ptr<core::log_sink> file, std::atomic<std::size_t>& lines)
        : file_(std::move(file)), lines_(lines) {}
    bool write(const char* data, std::size_t size) override {
        const bool written = file_->write(data, size);
        lines_.fetch_add(static_cast<std::size_t>(std::count(data, data + size, '\n')),
                         std::memory_order_release);
        return written;
    }
    void close() override { file_->close(); }
    std::uint64_t size() override { return file_->size(); }
    void rotate() override { file_->rotate(); }

private:
    std::unique_ptr<core::log_sink> file_;
    std::atomic<std::size_t>& lines_;
};

struct Ours {
    static constexpr const char* kName = "ours";
    static inline std::unique_ptr<core::logger> log;
    static inline std::atomic<std::size_t> written{0};
    static inline fs::path path;

    static void Open() {
        path = LogPath(kName);
        written = 0;
        // No rotation during the run, so that the file keeps every line to count; rotation
        // renames a file once per 20 MiB and is covered by the tests.
        log = std::make_unique<core::logger>(
            std::make_unique<counted_file>(core::open_log_file(path.wstring()), written),
            core::level_inf, std::numeric_limits<std::uint64_t>::max());
    }
    static void Written(int i) {
        core::logger_stream(core::level_inf, log.get()) << kWideName << " iType = " << i;
    }
    static void Suppressed(int i) {
        core::logger_stream(core::level_dbg, log.get()) << kWideName << " iType = " << i;
    }
    // Until every line is written or, when the queue was full and lines were dropped, until
    // the writer has been still for 20 ms.
    static void Drain(std::size_t lines) {
        std::size_t seen = written.load(std::memory_order_acquire);
        auto still = std::chrono::steady_clock::now();
        while (seen < lines) {
            std::this_thread::yield();
            const std::size_t now = written.load(std::memory_order_acquire);
            if (now != seen) {
                seen = now;
                still = std::chrono::steady_clock::now();
            } else if (std::chrono::steady_clock::now() - still > std::chrono::milliseconds(20)) {
                return;
            }
        }
    }
    // The lines in the file, or an error when one does not read as the logger writes it. A
    // caller is never held when the queue is full: the lines that did not fit are counted and
    // reported in the file, and those reports must account for every line missing.
    static std::string Close(std::size_t expected, benchmark::State& state) {
        log.reset();
        const auto file = testing_support::ParseLogFile(ReadAll(path));
        fs::remove(path);
        std::error_code ignored;
        fs::remove(path.parent_path(), ignored);  // once both sides' files are gone
        if (!file.malformed.empty()) {
            return "malformed line: " + file.malformed.front();
        }
        constexpr std::string_view kDropped = "logger dropped ";
        std::size_t lines = 0;
        std::size_t dropped = 0;
        for (const auto& line : file.lines) {
            if (line.level == "err" && line.text.starts_with(kDropped)) {
                dropped += std::stoull(line.text.substr(kDropped.size()));
            } else if (line.level != "inf" || line.pid != core::log_os::process_id() ||
                       line.text.rfind("KinetraServicePluginImpl::OnMsg iType = ", 0) != 0) {
                return "unexpected line: " + line.text;
            } else {
                ++lines;
            }
        }
        if (lines + dropped != expected) {
            return std::to_string(lines) + " lines and " + std::to_string(dropped) +
                   " dropped of " + std::to_string(expected);
        }
        state.counters["dropped"] =
            static_cast<double>(dropped) / static_cast<double>(state.iterations());
        return {};
    }
};

struct Spdlog {
    static constexpr const char* kName = "spdlog";
    static inline std::shared_ptr<spdlog::details::thread_pool> pool;
    static inline std::shared_ptr<spdlog::async_logger> log;
    static inline fs::path path;

    static void Open() {
        path = LogPath(kName);
        pool = std::make_shared<spdlog::details::thread_pool>(8192, 1);
        auto sink = std::make_shared<spdlog::sinks::basic_file_sink_mt>(path.string(), false);
        log = std::make_shared<spdlog::async_logger>("bench", std::move(sink), pool,
                                                     spdlog::async_overflow_policy::block);
        // The same header as ours, the same line end.
        log->set_formatter(std::make_unique<spdlog::pattern_formatter>(
            "[%Y-%m-%d %H:%M:%S %e][pid:%-6P][tid:%-6t]%l %v", spdlog::pattern_time_type::local,
            "\r\n"));
        log->set_level(spdlog::level::info);
        log->flush_on(spdlog::level::off);
    }
    static void Written(int i) { log->info(kNarrowLine, i); }
    static void Suppressed(int i) { log->debug(kNarrowLine, i); }
    static void Drain(std::size_t) {
        while (pool->queue_size() > 0) {
            std::this_thread::yield();
        }
    }
    static std::string Close(std::size_t expected, benchmark::State&) {
        log->flush();
        log.reset();
        pool.reset();
        const std::string bytes = ReadAll(path);
        fs::remove(path);
        std::error_code ignored;
        fs::remove(path.parent_path(), ignored);
        const auto lines = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
        return lines == expected ? std::string()
                                 : std::to_string(lines) + " lines of " + std::to_string(expected);
    }
};

template <class Side>
void Suppressed(benchmark::State& state) {
    Side::Open();
    int i = 0;
    for (auto _ : state) {
        Side::Suppressed(++i);
    }
    if (const std::string error = Side::Close(0, state); !error.empty()) {
        state.SkipWithError(error.c_str());
    }
}

// Shared by the threads of one run of a burst benchmark; set up before they start.
struct BurstRun {
    static inline std::unique_ptr<std::barrier<>> barrier;
    static inline std::atomic<std::size_t> sent{0};
};

template <class Side>
void OpenBurst(const benchmark::State& state) {
    Side::Open();
    BurstRun::barrier = std::make_unique<std::barrier<>>(state.threads());
    BurstRun::sent = 0;
}

// Each iteration: `lines` in all, shared by the threads, then (untimed) the writer drains.
template <class Side>
void Lines(benchmark::State& state, int lines) {
    const int share = lines / state.threads();
    const bench::AllocationTotals before = bench::AllocationsSoFar();
    int i = 0;
    for (auto _ : state) {
        for (int n = 0; n < share; ++n) {
            Side::Written(++i);
        }
        state.PauseTiming();
        BurstRun::sent.fetch_add(static_cast<std::size_t>(share));
        BurstRun::barrier->arrive_and_wait();
        if (state.thread_index() == 0) {
            Side::Drain(BurstRun::sent.load());
        }
        BurstRun::barrier->arrive_and_wait();
        state.ResumeTiming();
    }
    const bench::AllocationTotals after = bench::AllocationsSoFar();
    if (state.thread_index() == 0) {
        // All threads' allocations, the writer's included; counted once.
        state.counters["allocs"] = static_cast<double>(after.blocks - before.blocks) /
                                   static_cast<double>(state.iterations());
        if (const std::string error = Side::Close(BurstRun::sent.load(), state); !error.empty()) {
            state.SkipWithError(error.c_str());
        }
    }
}

template <class Side>
void Register(const std::string& row, const char* label, void (*body)(benchmark::State&)) {
    benchmark::RegisterBenchmark((row + "/" + Side::kName).c_str(),
                                 [label, body](benchmark::State& state) {
                                     state.SetLabel(label);
                                     body(state);
                                 });
}

// A burst (4,000 lines, 200 times) or a long run (150,000 lines, 8 times) from 1 or 4 threads.
struct LinesRow {
    const char* row;
    const char* label;
    int lines;
    int threads;
    int iterations;
};

constexpr LinesRow kLinesRows[] = {
    {"log.burst_4000_lines_1_thread",
     "Log: burst of 4,000 lines, 1 thread, caller's time per burst", kBurstLines, 1, 200},
    {"log.burst_4000_lines_4_threads",
     "Log: burst of 4,000 lines, 4 threads, callers' time per burst", kBurstLines, 4, 200},
    {"log.run_150000_lines_1_thread",
     "Log: 150,000 lines in a row, 1 thread, caller's time per run", kRunLines, 1, 8},
    {"log.run_150000_lines_4_threads",
     "Log: 150,000 lines in a row, 4 threads, callers' time per run", kRunLines, 4, 8},
};

template <class Side>
void RegisterSide() {
    Register<Side>("log.suppressed_line", "Log: line below the threshold, per line",
                   &Suppressed<Side>);
    for (const LinesRow& row : kLinesRows) {
        benchmark::RegisterBenchmark((std::string(row.row) + "/" + Side::kName).c_str(),
                                     [row](benchmark::State& state) {
                                         state.SetLabel(row.label);
                                         Lines<Side>(state, row.lines);
                                     })
            ->Setup(&OpenBurst<Side>)
            ->Threads(row.threads)
            ->Iterations(row.iterations);
    }
}

[[maybe_unused]] const bool kRegistered = [] {
    RegisterSide<Ours>();
    RegisterSide<Spdlog>();
    return true;
}();

}  // namespace
