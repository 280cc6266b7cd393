// A weak reference to the plug-in context that a host thread sets (Init) while the engine
// channel's and the host's threads lock it.
#pragma once

#include <memory>
#include <mutex>

namespace kinetra {

class PluginContext;

class ContextRef {
public:
    void Reset(std::weak_ptr<PluginContext> owner) {
        std::lock_guard lock(mMutex);
        mOwner = std::move(owner);
    }
    std::weak_ptr<PluginContext> Get() const {
        std::lock_guard lock(mMutex);
        return mOwner;
    }
    // The context, or null when it is gone or was never set.
    std::shared_ptr<PluginContext> Lock() const { return Get().lock(); }

private:
    mutable std::mutex mMutex;
    std::weak_ptr<PluginContext> mOwner;
};

}  // namespace kinetra
