// A request task taken from the simulated signal service in step mode: what it sent, and the
// means to answer it once, on the calling thread.
#pragma once

#include "host/server_traffic.h"

namespace sim {

class PendingTask {
public:
    PendingTask(service_plugin::SignalTafTask* task, SentRequest request, std::int32_t replyId,
                CallLog& calls, ServerObserver observer)
        : mTask(task),
          mRequest(std::move(request)),
          mReplyId(replyId),
          mCalls(&calls),
          mObserver(std::move(observer)) {}
    // Releases a task left unanswered, as a host that shuts down does.
    ~PendingTask();
    PendingTask(PendingTask&& other) noexcept;
    PendingTask& operator=(PendingTask&&) = delete;
    PendingTask(const PendingTask&) = delete;
    PendingTask& operator=(const PendingTask&) = delete;

    const SentRequest& Request() const { return mRequest; }
    // OnResponse, OnCallback, Release; returns OnResponse's answer. Only the first answer
    // reaches the task; later ones return false.
    bool Answer(const Reply& reply);

private:
    service_plugin::SignalTafTask* mTask;
    SentRequest mRequest;
    std::int32_t mReplyId;
    CallLog* mCalls;
    ServerObserver mObserver;
};

}  // namespace sim
