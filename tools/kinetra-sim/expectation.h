// A scenario's expectations: {"expect": MATCH, "within_ms": N} waits for a matching event after
// the previous step, {"expect_none": MATCH, "for_ms": N} fails when one comes. MATCH names any
// of the line's ends, its type, function, host call or push URI, and a partial record of its
// fields by name (or a host call's args).
#pragma once

#include <chrono>
#include <ostream>
#include <string>

#include "common/json.h"
#include "kinetra-sim/trace_events.h"

namespace kinetra_sim {

struct ExpectStep {
    std::string path;  // "steps[4]", for the message when it fails
    tafjson::Json match;
    bool none = false;  // expect_none
    std::chrono::milliseconds window{2000};
};

inline constexpr std::chrono::milliseconds kDefaultExpectWithin{2000};
inline constexpr std::chrono::milliseconds kDefaultExpectNoneFor{500};

// Reads an "expect" or "expect_none" step; false with `error` naming the offending key.
bool ReadExpectation(const tafjson::Json& step, const std::string& path, ExpectStep& expect,
                     std::string& error);

// Whether the trace line is what `match` asks for.
bool MatchesEvent(const tafjson::Json& match, const tafjson::Json& line);

// Checks the expectation against the lines from `from` on, waiting as long as it says; on
// failure writes what was expected and the nearest events seen to `messages`.
bool CheckExpectation(const ExpectStep& expect, TraceEvents& events, std::size_t from,
                      std::ostream& messages);

}  // namespace kinetra_sim
