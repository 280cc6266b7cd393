// Every line of a run's trace in its JSON form, kept for the scenario's expectations, which
// wait for lines to come, and for the pages and files written after the run.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "common/json.h"

namespace kinetra_sim {

class TraceEvents {
public:
    // Any thread.
    void Add(tafjson::Json line);
    std::size_t Size() const;
    std::vector<tafjson::Json> Lines() const;
    // The index of the first line at `from` or later that `matches`, waiting for new lines
    // until `deadline`; nullopt when none came by then.
    std::optional<std::size_t> WaitFor(std::size_t from,
                                       std::chrono::steady_clock::time_point deadline,
                                       const std::function<bool(const tafjson::Json&)>& matches);

private:
    mutable std::mutex mMutex;
    std::condition_variable mAdded;
    std::vector<tafjson::Json> mLines;
};

}  // namespace kinetra_sim
