// Answering or dropping a task taken in step mode.
#include "host/pending_task.h"

#include <utility>

namespace sim {

PendingTask::~PendingTask() {
    if (mTask != nullptr) {
        mCalls->Record("SignalTafTask::Release");
        mTask->Release();
    }
}

PendingTask::PendingTask(PendingTask&& other) noexcept
    : mTask(std::exchange(other.mTask, nullptr)),
      mRequest(std::move(other.mRequest)),
      mReplyId(other.mReplyId),
      mCalls(other.mCalls),
      mObserver(std::move(other.mObserver)) {}

bool PendingTask::Answer(const Reply& reply) {
    if (mTask == nullptr) {
        return false;
    }
    if (mObserver) {
        mObserver({ServerTraffic::Kind::reply, mRequest, reply, 0, {}, mReplyId});
    }
    return AnswerTask(*std::exchange(mTask, nullptr), mRequest, reply, mReplyId, *mCalls);
}

}  // namespace sim
