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
      mCalls(other.mCalls),
      mObserver(other.mObserver) {}

bool PendingTask::Answer(const Reply& reply) {
    if (mTask == nullptr) {
        return false;
    }
    if (mObserver != nullptr) {
        mObserver->OnReply(mRequest, reply);
    }
    return AnswerTask(*std::exchange(mTask, nullptr), mRequest, reply, *mCalls);
}

}  // namespace sim
