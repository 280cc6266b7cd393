// The simulated signal connection: identity answers, task handling in both modes, pushes.
#include "host/sim_signal_service.h"

#include <string>
#include <vector>

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
    if (task == nullptr) {
        return;
    }
    bool automatic = false;
    {
        std::lock_guard lock(mMutex);
        automatic = mAutomatic && !mShutDown;
    }
    // In automatic mode the request is read, and observed, on the sending thread, so that it
    // keeps its place among the other calls that thread makes. The task is not yet shared.
    std::optional<SentRequest> request;
    if (automatic) {
        request = EncodeTask(*task, this, mState.Calls());
        Observe({ServerTraffic::Kind::request, *request, {}, 0, {}});
    }
    std::unique_lock lock(mMutex);
    if (mShutDown) {
        lock.unlock();
        mState.Calls().Record("SignalTafTask::Release");
        task->Release();
        return;
    }
    const std::uint64_t id = mNextId++;
    mTasks.emplace(id, task);
    if (request) {
        lock.unlock();
        ScheduleAnswer(id, std::move(*request));
    } else if (mAutomatic) {
        ScheduleReceive(id);
    }
}

void SimSignalService::AddPushHandler(std::uint32_t uri, service_plugin::SignalNotifyStub* stub) {
    mState.Calls().Record("ISignalService::AddPushHandler", std::to_string(uri));
    mState.Report({"AddPushHandler", {{"uri", std::int64_t{uri}}}});
    std::lock_guard lock(mPushMutex);
    mPushHandlers.emplace(uri, stub);
}

void SimSignalService::RemovePushHandler(std::uint32_t uri,
                                         service_plugin::SignalNotifyStub* stub) {
    mState.Calls().Record("ISignalService::RemovePushHandler", std::to_string(uri));
    mState.Report({"RemovePushHandler", {{"uri", std::int64_t{uri}}, {"object", stub != nullptr}}});
    std::lock_guard lock(mPushMutex);
    for (auto [at, end] = mPushHandlers.equal_range(uri); at != end; ++at) {
        if (stub == nullptr || at->second == stub) {
            mPushHandlers.erase(at);
            return;
        }
    }
}

void SimSignalService::ReportStillRegistered() {
    decltype(mPushHandlers) left;
    {
        std::lock_guard lock(mPushMutex);
        left.swap(mPushHandlers);
    }
    for (const auto& [uri, stub] : left) {
        mState.ReportError({"handler still registered", {{"uri", std::int64_t{uri}}}});
    }
}

std::size_t SimSignalService::PendingTasks() const {
    std::lock_guard lock(mMutex);
    return mTasks.size();
}

std::size_t SimSignalService::PushHandlers() const {
    std::lock_guard lock(mPushMutex);
    return mPushHandlers.size();
}

std::optional<PendingTask> SimSignalService::TakeTask() {
    service_plugin::SignalTafTask* task = nullptr;
    {
        std::lock_guard lock(mMutex);
        if (mAutomatic || mTasks.empty()) {
            return std::nullopt;
        }
        task = mTasks.begin()->second;
        mTasks.erase(mTasks.begin());
    }
    SentRequest request = EncodeTask(*task, this, mState.Calls());
    Observe({ServerTraffic::Kind::request, request, {}, 0, {}});
    ServerObserver observer;
    {
        std::lock_guard lock(mMutex);
        observer = mObserver;
    }
    return std::optional<PendingTask>(std::in_place, task, std::move(request), NextReplyId(),
                                      mState.Calls(), std::move(observer));
}

void SimSignalService::SetReply(const std::string& servant, const std::string& function,
                                Reply reply) {
    std::lock_guard lock(mMutex);
    mReplies.insert_or_assign({servant, function}, std::move(reply));
}

void SimSignalService::StartAutomatic(ServerTiming timing) {
    std::lock_guard lock(mMutex);
    mTiming = timing;
    if (mAutomatic) {
        return;
    }
    mAutomatic = true;
    for (const auto& [id, task] : mTasks) {
        ScheduleReceive(id);
    }
}

void SimSignalService::SetResponder(Responder responder) {
    std::lock_guard lock(mMutex);
    mResponder = std::move(responder);
}

void SimSignalService::ScheduleReceive(std::uint64_t id) {
    mThread.Schedule({}, [this, id] { Receive(id); });
}

void SimSignalService::Receive(std::uint64_t id) {
    service_plugin::SignalTafTask* task = nullptr;
    {
        std::lock_guard lock(mMutex);
        task = mTasks.at(id);
    }
    SentRequest request = EncodeTask(*task, this, mState.Calls());
    Observe({ServerTraffic::Kind::request, request, {}, 0, {}});
    ScheduleAnswer(id, std::move(request));
}

void SimSignalService::ScheduleAnswer(std::uint64_t id, SentRequest request) {
    Reply reply;
    Responder responder;
    ServiceThread::Clock::duration after{};
    {
        std::lock_guard lock(mMutex);
        const auto canned = mReplies.find({request.packet.sServantName, request.packet.sFuncName});
        if (request.encoded && canned != mReplies.end()) {
            reply = canned->second;
        } else {
            responder = mResponder;
        }
    }
    // Called outside the lock: the responder is the test's code.
    if (responder && request.encoded) {
        reply = responder(request);
    }
    {
        std::lock_guard lock(mMutex);
        after = reply.kind == Reply::Kind::timeout ? mTiming.timeout : mTiming.delay;
    }
    mThread.Schedule(after, [this, id, request = std::move(request), reply = std::move(reply),
                             replyId = NextReplyId()] { Complete(id, request, reply, replyId); });
}

std::int32_t SimSignalService::NextReplyId() {
    std::lock_guard lock(mMutex);
    return mNextReplyId++;
}

void SimSignalService::Complete(std::uint64_t id, const SentRequest& request, const Reply& reply,
                                std::int32_t replyId) {
    service_plugin::SignalTafTask* task = nullptr;
    {
        std::lock_guard lock(mMutex);
        const auto held = mTasks.find(id);
        task = held->second;
        mTasks.erase(held);
    }
    Observe({ServerTraffic::Kind::reply, request, reply, 0, {}, replyId});
    AnswerTask(*task, request, reply, replyId, mState.Calls());
}

void SimSignalService::Push(std::uint32_t uri, taf::Bytes payload) {
    mThread.Schedule({}, [this, uri, payload = std::move(payload)] { Deliver(uri, payload); });
}

void SimSignalService::Deliver(std::uint32_t uri, const taf::Bytes& payload) {
    Observe({ServerTraffic::Kind::push, {}, {}, uri, payload});
    const auto* data = reinterpret_cast<const char*>(payload.data());
    const auto size = static_cast<std::uint32_t>(payload.size());
    std::vector<service_plugin::SignalNotify*> notices;
    {
        std::lock_guard lock(mPushMutex);
        for (auto [at, end] = mPushHandlers.equal_range(uri); at != end; ++at) {
            mState.Calls().Record("SignalNotifyStub::CreateNotify", std::to_string(uri));
            if (auto* notice = at->second->CreateNotify(data, size)) {
                notices.push_back(notice);
            }
        }
    }
    for (auto* notice : notices) {
        mState.Calls().Record("SignalNotify::Notify", std::to_string(uri));
        notice->Notify();
        mState.Calls().Record("SignalNotify::Release", std::to_string(uri));
        notice->Release();
    }
}

void SimSignalService::SetObserver(ServerObserver observer) {
    std::lock_guard lock(mMutex);
    mObserver = std::move(observer);
}

void SimSignalService::Observe(const ServerTraffic& traffic) const {
    ServerObserver observer;
    {
        std::lock_guard lock(mMutex);
        observer = mObserver;
    }
    if (observer) {
        observer(traffic);
    }
}

bool SimSignalService::WaitIdle(std::chrono::milliseconds limit) {
    return mThread.WaitIdle(limit);
}

void SimSignalService::Shutdown() {
    mThread.Stop();
    std::map<std::uint64_t, service_plugin::SignalTafTask*> held;
    {
        std::lock_guard lock(mMutex);
        mShutDown = true;
        held.swap(mTasks);
    }
    for (const auto& [id, task] : held) {
        mState.Calls().Record("SignalTafTask::Release");
        task->Release();
    }
}

}  // namespace sim
