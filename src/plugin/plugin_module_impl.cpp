#include "plugin/plugin_module_impl.h"

#include <cstring>

#include "core/boundary.h"

namespace kinetra {

std::shared_ptr<service_plugin::PluginInstance> PluginModuleImpl::Find(const char* name) {
    std::lock_guard lock(mMutex);
    for (const auto& instance : mInstances) {
        if (std::strcmp(instance->GetName(), name) == 0) {
            return instance;
        }
    }
    return nullptr;
}

service_plugin::PluginInstance* PluginModuleImpl::GetInstance(const char* name) {
    if (name == nullptr) {
        return nullptr;
    }
    return core::at_boundary(
        L"PluginModuleImpl::GetInstance",
        [&]() -> service_plugin::PluginInstance* {
            if (auto found = Find(name)) {
                return found.get();
            }
            // Created outside the lock: construction calls into the host.
            auto created = CreateInstance(name);
            if (!created) {
                return nullptr;
            }
            {
                std::lock_guard lock(mMutex);
                for (const auto& instance : mInstances) {
                    if (std::strcmp(instance->GetName(), name) == 0) {
                        return instance.get();  // another thread was first
                    }
                }
                mInstances.push_back(created);
            }
            created->Init();
            return created.get();
        },
        nullptr);
}

std::vector<std::shared_ptr<service_plugin::PluginInstance>> PluginModuleImpl::Instances() {
    std::lock_guard lock(mMutex);
    return mInstances;
}

// Uninit runs outside the lock, since it calls into the host.
void PluginModuleImpl::ReleaseInstances() {
    const auto instances = Instances();
    core::at_boundary(L"PluginModuleImpl::ReleaseInstances", [&] {
        for (const auto& instance : instances) {
            instance->Uninit();
        }
    });
}

}  // namespace kinetra
