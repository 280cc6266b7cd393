#include "host/call_log.h"

#include <algorithm>

namespace sim {

void CallLog::Record(std::string name, std::string details) {
    std::lock_guard lock(mMutex);
    if (mKeeping) {
        mCalls.push_back({std::move(name), std::move(details)});
    }
}

void CallLog::SetKeeping(bool keeping) {
    std::lock_guard lock(mMutex);
    mKeeping = keeping;
}

std::vector<Call> CallLog::Calls() const {
    std::lock_guard lock(mMutex);
    return mCalls;
}

std::size_t CallLog::Count(std::string_view name) const {
    std::lock_guard lock(mMutex);
    return static_cast<std::size_t>(std::count_if(
        mCalls.begin(), mCalls.end(), [name](const Call& call) { return call.name == name; }));
}

}  // namespace sim
