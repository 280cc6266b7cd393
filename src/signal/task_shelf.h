// Tasks of one kind that the host has released, kept for the next request of the same kind:
// the request's and response's strings, lists and map nodes and the frame's buffer are filled
// again instead of allocated. The plug-in takes tasks on the channel's thread and the host
// releases them on its own, so each slot of the shelf is an atomic pointer.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <memory>
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

    // Each slot is taken and filled by one atomic exchange: no lock, so neither thread ever
    // waits for the other, and the host's thread pays one atomic step per release.
    class Store {
    public:
        Store() = default;
        Store(const Store&) = delete;
        Store& operator=(const Store&) = delete;
        ~Store() {
            for (auto& slot : slots_) {
                delete slot.load(std::memory_order_acquire);
            }
        }

        Shelved* Take() {
            for (auto& slot : slots_) {
                if (slot.load(std::memory_order_relaxed) != nullptr) {
                    if (Shelved* task = slot.exchange(nullptr, std::memory_order_acquire)) {
                        return task;
                    }
                }
            }
            return nullptr;
        }
        void Put(Shelved* task) {
            for (auto& slot : slots_) {
                Shelved* empty = nullptr;
                if (slot.load(std::memory_order_relaxed) == nullptr &&
                    slot.compare_exchange_strong(empty, task, std::memory_order_release,
                                                 std::memory_order_relaxed)) {
                    return;
                }
            }
            delete task;
        }

    private:
        std::array<std::atomic<Shelved*>, kKept> slots_{};
    };

    static Store& Shelf() {
        static Store store;
        return store;
    }
};

}  // namespace Meru
