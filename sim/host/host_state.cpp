#include "host/host_state.h"

namespace sim {

std::optional<ServiceKind> ServiceKindFromName(std::string_view name) {
    constexpr std::pair<std::string_view, ServiceKind> kNames[] = {
        {"signal", ServiceKind::signal}, {"user", ServiceKind::user},
        {"room", ServiceKind::room},     {"audio", ServiceKind::audio},
        {"live", ServiceKind::live},     {"presenter", ServiceKind::presenter},
    };
    for (const auto& [text, kind] : kNames) {
        if (text == name) {
            return kind;
        }
    }
    return std::nullopt;
}

HostAnswers HostState::Answers() const {
    std::lock_guard lock(mMutex);
    return mAnswers;
}

void HostState::Update(const std::function<void(HostAnswers&)>& change) {
    std::lock_guard lock(mMutex);
    change(mAnswers);
}

void HostState::SetCallObserver(HostCallObserver observer) {
    std::lock_guard lock(mMutex);
    mCallObserver = std::move(observer);
}

void HostState::Report(const HostCall& call) const {
    HostCallObserver observer;
    {
        std::lock_guard lock(mMutex);
        observer = mCallObserver;
    }
    if (observer) {
        observer(call);
    }
}

void HostState::SetErrorObserver(HostErrorObserver observer) {
    std::lock_guard lock(mMutex);
    mErrorObserver = std::move(observer);
}

void HostState::ReportError(const HostError& error) const {
    HostErrorObserver observer;
    {
        std::lock_guard lock(mMutex);
        observer = mErrorObserver;
    }
    if (observer) {
        observer(error);
    }
}

}  // namespace sim
