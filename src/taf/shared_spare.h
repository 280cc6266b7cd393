// One object of a kind kept for the process, lent out for a moment and kept with its capacity
// for the next use, so that a hot path that builds frames or decodes replies stops allocating
// once the buffers have grown. While it is lent, another use (a second thread, or a handler
// that sends while a send is on the stack) gets an object of its own; `Use` tells apart paths
// that nest by design (a record written, then its envelope), so that each keeps a spare.
//
// Not one per thread: a thread_local with a destructor would be destroyed when each of the
// host's threads ends, possibly after the library is unloaded, running code that is gone (or,
// where the C library prevents that, keeping the library loaded). The kept object is a static
// of the library, destroyed when it unloads.
#pragma once

#include <atomic>
#include <optional>

namespace taf {

template <class T, class Use = T>
class SharedSpare {
public:
    SharedSpare() {
        Slot& slot = keptSlot();
        if (!slot.lent.exchange(true, std::memory_order_acquire)) {
            value_ = &slot.value;
        } else {
            value_ = &own_.emplace();
        }
    }
    ~SharedSpare() {
        if (!own_) {
            keptSlot().lent.store(false, std::memory_order_release);
        }
    }
    SharedSpare(const SharedSpare&) = delete;
    SharedSpare& operator=(const SharedSpare&) = delete;

    T& operator*() { return *value_; }
    T* operator->() { return value_; }

private:
    struct Slot {
        T value{};
        std::atomic<bool> lent{false};
    };
    static Slot& keptSlot() {
        static Slot slot;
        return slot;
    }

    std::optional<T> own_;
    T* value_ = nullptr;
};

}  // namespace taf
