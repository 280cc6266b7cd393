// A weak reference to the plug-in instance that a host thread sets (Init) while the engine
// channel's and the host's threads lock it.
#pragma once

#include <memory>
#include <mutex>

namespace kinetra {

class KinetraServicePluginImpl;

class InstanceRef {
public:
    void Reset(std::weak_ptr<KinetraServicePluginImpl> owner) {
        std::lock_guard lock(mMutex);
        mOwner = std::move(owner);
    }
    std::weak_ptr<KinetraServicePluginImpl> Get() const {
        std::lock_guard lock(mMutex);
        return mOwner;
    }
    // The instance, or null when it is gone or was never set.
    std::shared_ptr<KinetraServicePluginImpl> Lock() const { return Get().lock(); }

private:
    mutable std::mutex mMutex;
    std::weak_ptr<KinetraServicePluginImpl> mOwner;
};

}  // namespace kinetra
