// Prints every message that crosses the engine channel, as it happens: one line per message,
// for people or as JSON.
#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <ostream>

#include "engine/sim_engine.h"
#include "host/server_traffic.h"

namespace kinetra_sim {

enum class TraceFormat { text, json };

class Trace {
public:
    Trace(TraceFormat format, std::ostream& out);

    // Any thread; lines never interleave.
    void Record(const sim::EngineTraffic& traffic);
    void Record(const sim::ServerTraffic& traffic);
    // When the last message moved (or when the trace started).
    std::chrono::steady_clock::time_point LastMove() const { return mLastMove.load(); }

private:
    void Print(const std::string& line);
    std::string JsonLine(const sim::EngineTraffic& traffic) const;
    std::string TextLine(const sim::EngineTraffic& traffic) const;
    std::string JsonLine(const sim::ServerTraffic& traffic) const;
    std::string TextLine(const sim::ServerTraffic& traffic) const;

    TraceFormat mFormat;
    std::ostream& mOut;
    std::mutex mMutex;
    std::atomic<std::chrono::steady_clock::time_point> mLastMove;
};

}  // namespace kinetra_sim
