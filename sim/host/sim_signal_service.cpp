#include "host/sim_signal_service.h"

#include <string>

namespace sim {

std::int64_t SimAccount::GetUid() {
    mState.Calls().Record("IAccount::GetUid");
    return mState.Answers().uid;
}

void SimAccount::GetAccountInfo(service_plugin::AccountInfo* out) {
    mState.Calls().Record("IAccount::GetAccountInfo");
    const auto answers = mState.Answers();
    out->token = answers.token.c_str();
    out->tokenType = answers.tokenType;
}

SimSignalService::~SimSignalService() {
    for (auto* task : mTasks) {
        task->Release();
    }
}

service_plugin::LLString SimSignalService::GetGuid() {
    mState.Calls().Record("ISignalService::GetGuid");
    return service_plugin::LLString(mState.Answers().guid.c_str());
}

service_plugin::LLString SimSignalService::GetUserAgent() {
    mState.Calls().Record("ISignalService::GetUserAgent");
    return service_plugin::LLString(mState.Answers().ua.c_str());
}

service_plugin::IAccount* SimSignalService::GetAccount() {
    mState.Calls().Record("ISignalService::GetAccount");
    return &mAccount;
}

void SimSignalService::SendTask(service_plugin::SignalTafTask* task) {
    mState.Calls().Record("ISignalService::SendTask");
    std::lock_guard lock(mMutex);
    mTasks.push_back(task);
}

void SimSignalService::AddPushHandler(std::uint32_t uri, service_plugin::SignalNotifyStub* stub) {
    mState.Calls().Record("ISignalService::AddPushHandler", std::to_string(uri));
    std::lock_guard lock(mMutex);
    mPushHandlers.emplace(uri, stub);
}

void SimSignalService::RemovePushHandler(std::uint32_t uri,
                                         service_plugin::SignalNotifyStub* stub) {
    mState.Calls().Record("ISignalService::RemovePushHandler", std::to_string(uri));
    std::lock_guard lock(mMutex);
    for (auto [at, end] = mPushHandlers.equal_range(uri); at != end; ++at) {
        if (stub == nullptr || at->second == stub) {
            mPushHandlers.erase(at);
            return;
        }
    }
}

std::size_t SimSignalService::PendingTasks() const {
    std::lock_guard lock(mMutex);
    return mTasks.size();
}

std::size_t SimSignalService::PushHandlers() const {
    std::lock_guard lock(mMutex);
    return mPushHandlers.size();
}

}  // namespace sim
