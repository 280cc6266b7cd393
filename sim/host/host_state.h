// What the simulated host answers, shared by its services, and the log of calls it received.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "host/call_log.h"
#include "host/host_call.h"

namespace sim {

struct CameraAnswer {
    std::string name;
    std::string detail;
    float a[2] = {0, 0};
    float b[2] = {0, 0};
};

struct HostAnswers {
    std::int64_t uid = 0;
    std::string guid;
    std::string ua;
    std::string token;
    std::int32_t tokenType = 0;
    std::int64_t userValue = 0;
    std::string userText1;
    std::string userText2;
    std::int32_t gameId = 0;
    std::int64_t liveId = 0;
    bool testEnv = false;
    std::string clientVersion;
    std::uint32_t canvasWidth = 1920;
    std::uint32_t canvasHeight = 1080;
    CameraAnswer camera;
    // When set, the presenter answers every dialog with it as soon as it is shown.
    std::optional<std::uint32_t> dialogResult;
    std::uint32_t audioRate = 48000;
    std::uint32_t audioSecond = 2;
};

enum class ServiceKind { signal, user, room, audio, live, presenter };

// "signal", "user", "room", "audio", "live" or "presenter".
std::optional<ServiceKind> ServiceKindFromName(std::string_view name);

class HostState {
public:
    explicit HostState(HostAnswers answers) : mAnswers(std::move(answers)) {}

    HostAnswers Answers() const;
    void Update(const std::function<void(HostAnswers&)>& change);
    CallLog& Calls() { return mCalls; }

    // Sees every call that changes the host's state; empty for none.
    void SetCallObserver(HostCallObserver observer);
    void Report(const HostCall& call) const;
    // Sees what the host finds wrong with the plug-in; empty for none.
    void SetErrorObserver(HostErrorObserver observer);
    void ReportError(const HostError& error) const;

private:
    mutable std::mutex mMutex;
    HostCallObserver mCallObserver;
    HostErrorObserver mErrorObserver;
    HostAnswers mAnswers;
    CallLog mCalls;
};

}  // namespace sim
