// The listeners a simulated service keeps, safe to change from any thread.
#pragma once

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

namespace sim {

template <typename Listener>
class ListenerList {
public:
    void Add(Listener* listener) {
        std::lock_guard lock(mMutex);
        mListeners.push_back(listener);
    }
    void Remove(Listener* listener) {
        std::lock_guard lock(mMutex);
        mListeners.erase(std::remove(mListeners.begin(), mListeners.end(), listener),
                         mListeners.end());
    }
    // Calls `call` for each listener under the lock, so that a listener removed once Remove
    // has returned is never called again.
    template <typename Call>
    void ForEach(Call&& call) {
        std::lock_guard lock(mMutex);
        for (auto* listener : mListeners) {
            call(*listener);
        }
    }

    // Empties the list; how many listeners it held.
    std::size_t Clear() {
        std::lock_guard lock(mMutex);
        return std::exchange(mListeners, {}).size();
    }

    // The listeners as they are now, to call without holding the list.
    std::vector<Listener*> Snapshot() {
        std::lock_guard lock(mMutex);
        return mListeners;
    }

private:
    std::mutex mMutex;
    std::vector<Listener*> mListeners;
};

}  // namespace sim
