// The stress run's invariants, each checked from what the stand-ins saw: answers match what the
// engine asked, every request reaches its callback, the log is well-formed and keeps the run's
// secrets, and the heap stays flat from cycle to cycle.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "engine/sim_engine.h"
#include "host/server_traffic.h"

namespace kinetra_sim {

// The invariant that broke and what was seen.
using Broken = std::optional<std::string>;

// Running totals over all cycles, read by the progress line while cycles run.
struct StressTotals {
    std::atomic<std::uint64_t> toPlugin{0};
    std::atomic<std::uint64_t> toEngine{0};
    std::atomic<std::uint64_t> requests{0};
    std::atomic<std::uint64_t> pushes{0};
    std::atomic<std::uint64_t> audioBlocks{0};
    std::atomic<std::uint64_t> cycles{0};
};

// Everything that crossed the channel and the server link in one cycle, from any thread; the
// run's totals count along.
class TrafficLedger {
public:
    explicit TrafficLedger(StressTotals& totals) : mTotals(totals) {}

    void Engine(const sim::EngineTraffic& traffic);
    void Server(const sim::ServerTraffic& traffic);

    // An answer must follow an engine message that it answers, at most once per message, unless
    // the plug-in sends that type on its own.
    Broken CheckAnswers() const;
    // Every request the servers saw was answered or timed out by now.
    Broken CheckRequests(std::size_t stillHeld) const;

private:
    StressTotals& mTotals;
    mutable std::mutex mMutex;
    std::map<std::uint32_t, std::uint64_t> mToPlugin;
    std::map<std::uint32_t, std::uint64_t> mToEngine;
    std::uint64_t mRequests = 0;
    std::uint64_t mAnswered = 0;
};

// Reads what the plug-in appended to its log since the last check.
class LogCheck {
public:
    LogCheck(std::string path, std::string secretMarker);
    // Every new line has the header "[YYYY-MM-DD HH:MM:SS mmm][pid:%-6d][tid:%-6d]lvl " and ends
    // with CR LF, and none shows a secret of the run. A text with line breaks of its own goes
    // on over further lines without a header, which must not look like one.
    Broken CheckNewLines();
    std::uint64_t Lines() const { return mLines; }
    // Lines that go on with the text of the line above.
    std::uint64_t Continued() const { return mContinued; }

private:
    std::string mPath;
    std::string mSecretMarker;
    std::uint64_t mOffset = 0;
    std::uint64_t mLines = 0;
    std::uint64_t mContinued = 0;
};

// True when `line` (without its CR LF) starts with the log header.
bool IsWellFormedLogLine(const std::string& line);

// Live heap bytes after each cycle's unload.
class HeapTrend {
public:
    void Add(std::size_t bytes) { mSamples.push_back(bytes); }
    // Flat: the smallest of the last three readings is at most the largest of the early ones
    // (cycles 2 to 4, once caches have filled) plus kHeapMargin. Needs at least
    // kHeapMinCycles readings; fewer say nothing.
    Broken Check() const;
    std::string Describe() const;

private:
    std::vector<std::size_t> mSamples;
};

// Room for allocator and loader noise between cycles, far below what a leak per message adds.
inline constexpr std::size_t kHeapMargin = 512 * 1024;
inline constexpr std::size_t kHeapMinCycles = 7;

}  // namespace kinetra_sim
