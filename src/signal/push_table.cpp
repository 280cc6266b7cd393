#include "signal/push_table.h"

namespace Meru {

void PushTable::Open(service_plugin::ISignalService* signal) {
    std::lock_guard lock(mMutex);
    // The handlers held stay with the service they were registered with.
    if (mHandlers.empty()) {
        mSignal = signal;
    }
}

void PushTable::Close() {
    std::lock_guard lock(mMutex);
    for (const auto& [key, handler] : mHandlers) {
        mSignal->RemovePushHandler(key.second, handler.get());
    }
    mHandlers.clear();
    mEngineUris = 0;
    mSignal = nullptr;
}

PushTable::Added PushTable::Add(Origin origin, std::uint32_t uri,
                                std::unique_ptr<service_plugin::SignalNotifyStub> handler) {
    std::lock_guard lock(mMutex);
    if (mSignal == nullptr) {
        return Added::closed;
    }
    const Key key{origin, uri};
    if (mHandlers.contains(key)) {
        return Added::held;
    }
    if (origin == Origin::engine && mEngineUris == kMaxEngineUris) {
        return Added::full;
    }
    mSignal->AddPushHandler(uri, handler.get());
    mHandlers.emplace(key, std::move(handler));
    mEngineUris += origin == Origin::engine ? 1 : 0;
    return Added::added;
}

bool PushTable::Remove(Origin origin, std::uint32_t uri) {
    std::lock_guard lock(mMutex);
    const auto found = mHandlers.find({origin, uri});
    if (found == mHandlers.end()) {
        return false;
    }
    mSignal->RemovePushHandler(uri, found->second.get());
    mHandlers.erase(found);
    mEngineUris -= origin == Origin::engine ? 1 : 0;
    return true;
}

}  // namespace Meru
