// Tasks of one kind that the host has released, kept for the next request of the same kind:
// the request's and response's strings, lists and map nodes and the frame's buffer are filled
// again instead of allocated. The plug-in takes tasks on the channel's thread and the host
// releases them on its own, so the shelf is guarded; the lock is held for a pointer's move.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string_view>
#include <utility>

#include "signal/request_descriptor.h"
#include "taf/assign_over.h"

namespace Meru {

template <class Task>
class Shelved final : public Task {
public:
    using Request = typename Task::Request;
    using Callback = typename Task::Callback;

    // A released task of this kind, or a new one when none is kept, addressed to `servant` and
    // `function`, with its request a copy of `filled` and `onReply` as its callback.
    static std::unique_ptr<Shelved> Take(std::string_view servant, std::string_view function,
                                         const Request& filled, Callback onReply) {
        std::unique_ptr<Shelved> task(Shelf().Take());
        if (!task) {
            return std::unique_ptr<Shelved>(
                new Shelved(filled, servant, function, std::move(onReply)));
        }
        taf::assignOver(task->request, filled);
        task->descriptor.Assign(servant, function);
        task->callback = std::move(onReply);
        return task;
    }

    Request& Req() { return this->request; }

    // The host is done with it: back on the shelf with nothing of this request left but
    // capacity, or deleted when the shelf is full.
    void Release() override {
        this->ForgetRequest();
        Shelf().Put(this);
    }

private:
    static constexpr std::size_t kKept = 2;

    Shelved(const Request& first, std::string_view servant, std::string_view function,
            Callback onReply)
        : Task(first, RequestDescriptor(servant, function), std::move(onReply)) {}

    class Store {
    public:
        Store() = default;
        Store(const Store&) = delete;
        Store& operator=(const Store&) = delete;
        ~Store() {
            for (std::size_t i = 0; i < count_; ++i) {
                delete slots_[i];
            }
        }
        Shelved* Take() {
            const std::lock_guard lock(mutex_);
            return count_ == 0 ? nullptr : slots_[--count_];
        }
        void Put(Shelved* task) {
            {
                const std::lock_guard lock(mutex_);
                if (count_ < kKept) {
                    slots_[count_++] = task;
                    return;
                }
            }
            delete task;
        }

    private:
        std::mutex mutex_;
        std::array<Shelved*, kKept> slots_{};
        std::size_t count_ = 0;
    };

    static Store& Shelf() {
        static Store store;
        return store;
    }
};

}  // namespace Meru
