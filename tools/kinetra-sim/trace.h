// Prints every message that crosses the engine channel, every server exchange and every host
// call that changes the host's state, as it happens: one line each, for people or as JSON,
// with the milliseconds since the scenario began. Every line is also kept in its JSON form for
// the scenario's expectations and the HTML page.
#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <ostream>

#include "common/json.h"
#include "engine/sim_engine.h"
#include "host/host_call.h"
#include "host/server_traffic.h"
#include "kinetra-sim/trace_events.h"

namespace kinetra_sim {

// `none` prints nothing: the lines are only kept (for the HTML page).
enum class TraceFormat { text, json, none };

class Trace {
public:
    Trace(TraceFormat format, std::ostream& out);

    // Where "t_ms" counts from: the scenario's start (construction until then).
    void Begin();

    // Any thread; lines never interleave.
    void Record(const sim::EngineTraffic& traffic);
    void Record(const sim::ServerTraffic& traffic);
    void Record(const sim::HostCall& call);
    void Record(const sim::HostError& error);
    // When the last message moved (or when the trace started).
    std::chrono::steady_clock::time_point LastMove() const { return mLastMove.load(); }
    // Counts as a move: what a step set off may still be on its way.
    void Moved() { mLastMove = std::chrono::steady_clock::now(); }
    TraceEvents& Events() { return mEvents; }

private:
    template <typename Event>
    void Print(const Event& event);
    static tafjson::Json JsonLine(const sim::EngineTraffic& traffic);
    static std::string TextLine(const sim::EngineTraffic& traffic);
    static tafjson::Json JsonLine(const sim::ServerTraffic& traffic);
    static std::string TextLine(const sim::ServerTraffic& traffic);
    static tafjson::Json JsonLine(const sim::HostCall& call);
    static std::string TextLine(const sim::HostCall& call);
    static tafjson::Json JsonLine(const sim::HostError& error);
    static std::string TextLine(const sim::HostError& error);

    TraceFormat mFormat;
    std::ostream& mOut;
    std::mutex mMutex;
    std::chrono::steady_clock::time_point mStart;
    std::atomic<std::chrono::steady_clock::time_point> mLastMove;
    TraceEvents mEvents;
};

}  // namespace kinetra_sim
