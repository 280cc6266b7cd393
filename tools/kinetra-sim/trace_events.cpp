#include "kinetra-sim/trace_events.h"

namespace kinetra_sim {

void TraceEvents::Add(tafjson::Json line) {
    {
        std::lock_guard lock(mMutex);
        mLines.push_back(std::move(line));
    }
    mAdded.notify_all();
}

std::size_t TraceEvents::Size() const {
    std::lock_guard lock(mMutex);
    return mLines.size();
}

std::vector<tafjson::Json> TraceEvents::Lines() const {
    std::lock_guard lock(mMutex);
    return mLines;
}

std::optional<std::size_t> TraceEvents::WaitFor(
    std::size_t from, std::chrono::steady_clock::time_point deadline,
    const std::function<bool(const tafjson::Json&)>& matches) {
    std::unique_lock lock(mMutex);
    for (std::size_t next = from;;) {
        for (; next < mLines.size(); ++next) {
            if (matches(mLines[next])) {
                return next;
            }
        }
        if (mAdded.wait_until(lock, deadline) == std::cv_status::timeout && next == mLines.size()) {
            return std::nullopt;
        }
    }
}

}  // namespace kinetra_sim
