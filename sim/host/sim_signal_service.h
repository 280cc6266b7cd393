// The simulated signal connection: the account's identity, request tasks answered by the
// test (step mode) or by canned replies on the service's thread (automatic mode), and pushes
// delivered on that thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "host/host_state.h"
#include "host/pending_task.h"
#include "host/server_traffic.h"
#include "host/service_thread.h"
#include "service_plugin/signal_service.h"
#include "taf/codec.h"

namespace sim {

class SimAccount : public service_plugin::IAccount {
public:
    explicit SimAccount(HostState& state) : mState(state) {}
    std::int64_t GetUid() override;
    void GetAccountInfo(service_plugin::AccountInfo* out) override;

private:
    HostState& mState;
};

// When the automatic server answers: `delay` after a task arrives when a canned reply
// exists for its servant and function, otherwise a time-out after `timeout`.
struct ServerTiming {
    std::chrono::milliseconds delay{0};
    std::chrono::milliseconds timeout{3000};
};

class SimSignalService : public service_plugin::ISignalService {
public:
    explicit SimSignalService(HostState& state) : mState(state), mAccount(state) {}
    ~SimSignalService() { Shutdown(); }

    service_plugin::LLString GetGuid() override;
    service_plugin::LLString GetUserAgent() override;
    service_plugin::IAccount* GetAccount() override;
    void SendTask(service_plugin::SignalTafTask* task) override;
    void AddPushHandler(std::uint32_t uri, service_plugin::SignalNotifyStub* stub) override;
    void RemovePushHandler(std::uint32_t uri, service_plugin::SignalNotifyStub* stub) override;

    // Tasks sent and not yet answered (or taken, in step mode).
    std::size_t PendingTasks() const;
    // Subscriptions the plug-in holds, over all URIs.
    std::size_t PushHandlers() const;
    // Once the plug-in is unloaded: reports every handler it left registered, one error each,
    // and forgets them, so that no later push calls into freed memory.
    void ReportStillRegistered();

    // Step mode, the default: takes the oldest waiting task and encodes it on the calling
    // thread; nullopt when none waits. The PendingTask must not outlive the service.
    std::optional<PendingTask> TakeTask();

    // Automatic mode: the canned reply for a servant and function, replacing an earlier one.
    void SetReply(const std::string& servant, const std::string& function, Reply reply);
    // From now on every task, including those waiting, is answered on the service's thread.
    void StartAutomatic(ServerTiming timing);
    // Automatic mode: decides the answer of a request that has no canned reply, on the thread
    // that sent it; a reply of kind timeout times out. Set it before the plug-in is loaded.
    using Responder = std::function<Reply(const SentRequest&)>;
    void SetResponder(Responder responder);

    // Delivers a push to every stub subscribed under `uri`, on the service's thread:
    // CreateNotify, then Notify and Release of the push object it returns.
    void Push(std::uint32_t uri, taf::Bytes payload);
    template <taf::Record T>
    void Push(std::uint32_t uri, const T& record) {
        Push(uri, taf::toBytes(record));
    }

    // Sees every request, reply and push; empty for none.
    void SetObserver(ServerObserver observer);
    // Waits until the service's thread has nothing left to do; false when `limit` passed.
    bool WaitIdle(std::chrono::milliseconds limit);
    // While held, replies, time-outs and pushes wait; once let go, those due come in order.
    void HoldReplies(bool held) { mThread.Hold(held); }
    // Ends the service's thread and releases every task still held, as the host does when it
    // shuts down; later tasks are released as they arrive. Call it while the plug-in is loaded.
    void Shutdown();

private:
    void Receive(std::uint64_t id);
    // Answers the request after the reply's delay, or times it out, on the service's thread.
    void ScheduleAnswer(std::uint64_t id, SentRequest request);
    void Complete(std::uint64_t id, const SentRequest& request, const Reply& reply,
                  std::int32_t replyId);
    std::int32_t NextReplyId();
    void Deliver(std::uint32_t uri, const taf::Bytes& payload);
    void ScheduleReceive(std::uint64_t id);
    void Observe(const ServerTraffic& traffic) const;

    HostState& mState;
    SimAccount mAccount;
    ServiceThread mThread;

    mutable std::mutex mMutex;
    bool mAutomatic = false;
    bool mShutDown = false;
    ServerTiming mTiming;
    std::uint64_t mNextId = 0;
    std::int32_t mNextReplyId = kFirstServerRequestId;
    // By arrival; in step mode all of them wait, in automatic mode all are in flight.
    std::map<std::uint64_t, service_plugin::SignalTafTask*> mTasks;
    std::map<std::pair<std::string, std::string>, Reply> mReplies;
    Responder mResponder;
    ServerObserver mObserver;

    // Held while a stub decodes a push, so RemovePushHandler returns only once the stub is no
    // longer in use and the plug-in may delete it. Stubs take no lock of the plug-in's there.
    mutable std::mutex mPushMutex;
    std::multimap<std::uint32_t, service_plugin::SignalNotifyStub*> mPushHandlers;
};

}  // namespace sim
