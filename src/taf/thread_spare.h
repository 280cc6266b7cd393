// One object of a kind per thread, lent out for a moment and kept with its capacity for the
// next use, so that a hot path that builds frames or decodes replies stops allocating once the
// buffers have grown. A nested use on the same thread (a handler that sends while a send is on
// the stack) gets an object of its own instead of the one in use; `Use` tells apart paths that
// nest by design (a record written, then its envelope), so that each keeps a spare.
#pragma once

#include <optional>

namespace taf {

template <class T, class Use = T>
class ThreadSpare {
public:
    ThreadSpare() {
        Slot& slot = threadSlot();
        if (!slot.lent) {
            slot.lent = true;
            value_ = &slot.value;
        } else {
            value_ = &own_.emplace();
        }
    }
    ~ThreadSpare() {
        if (!own_) {
            threadSlot().lent = false;
        }
    }
    ThreadSpare(const ThreadSpare&) = delete;
    ThreadSpare& operator=(const ThreadSpare&) = delete;

    T& operator*() { return *value_; }
    T* operator->() { return value_; }

private:
    struct Slot {
        T value{};
        bool lent = false;
    };
    static Slot& threadSlot() {
        thread_local Slot slot;
        return slot;
    }

    std::optional<T> own_;
    T* value_ = nullptr;
};

}  // namespace taf
