// The simulated signal connection: the account's identity, request tasks and push handlers.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

#include "host/host_state.h"
#include "service_plugin/signal_service.h"

namespace sim {

class SimAccount : public service_plugin::IAccount {
public:
    explicit SimAccount(HostState& state) : mState(state) {}
    std::int64_t GetUid() override;
    void GetAccountInfo(service_plugin::AccountInfo* out) override;

private:
    HostState& mState;
};

class SimSignalService : public service_plugin::ISignalService {
public:
    explicit SimSignalService(HostState& state) : mState(state), mAccount(state) {}
    // Releases every task still held, as the host does when it shuts down.
    ~SimSignalService();

    service_plugin::LLString GetGuid() override;
    service_plugin::LLString GetUserAgent() override;
    service_plugin::IAccount* GetAccount() override;
    void SendTask(service_plugin::SignalTafTask* task) override;
    void AddPushHandler(std::uint32_t uri, service_plugin::SignalNotifyStub* stub) override;
    void RemovePushHandler(std::uint32_t uri, service_plugin::SignalNotifyStub* stub) override;

    std::size_t PendingTasks() const;
    std::size_t PushHandlers() const;

private:
    HostState& mState;
    SimAccount mAccount;
    mutable std::mutex mMutex;
    std::vector<service_plugin::SignalTafTask*> mTasks;
    std::multimap<std::uint32_t, service_plugin::SignalNotifyStub*> mPushHandlers;
};

}  // namespace sim
