// Every call the simulated host receives, in order, for tests to inspect.
#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct Call {
    std::string name;     // "IRoomService::GetRoomInfo"
    std::string details;  // arguments worth checking, as text
};

class CallLog {
public:
    void Record(std::string name, std::string details = {});
    // While off, calls are not kept: a bench making a million calls would otherwise time the
    // log's growth as the caller's.
    void SetKeeping(bool keeping);
    std::vector<Call> Calls() const;
    std::size_t Count(std::string_view name) const;

private:
    mutable std::mutex mMutex;
    std::vector<Call> mCalls;
    bool mKeeping = true;
};

}  // namespace sim
