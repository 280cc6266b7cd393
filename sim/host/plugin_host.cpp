#include "host/plugin_host.h"

namespace sim {
namespace {

using LoadFunction = bool (*)(service_plugin::IPluginRegistry*);
using UnloadFunction = void (*)();

}  // namespace

PluginHost::~PluginHost() {
    DestroyModule();
    Unload();
}

bool PluginHost::Load(const std::string& path, std::string& error) {
    return Open(path, error, mHost.Registry());
}

bool PluginHost::LoadWithoutRegistry(const std::string& path, std::string& error) {
    return Open(path, error, nullptr);
}

bool PluginHost::Open(const std::string& path, std::string& error,
                      service_plugin::IPluginRegistry* registry) {
    mLibrary = SharedLibrary::Open(path, error);
    if (!mLibrary) {
        return false;
    }
    auto load = reinterpret_cast<LoadFunction>(mLibrary->Symbol("service_module_load"));
    if (load == nullptr) {
        error = "no service_module_load in " + path;
        mLibrary.reset();
        return false;
    }
    return load(registry);
}

service_plugin::PluginModule* PluginHost::BuildModule(const std::string& module) {
    auto* builder = mHost.Registration().Builder(module);
    if (builder == nullptr) {
        return nullptr;
    }
    mModule = builder->Build(module.c_str());
    return mModule;
}

void PluginHost::DestroyModule() {
    Destroy(true);
}

void PluginHost::ReleaseModule() {
    Destroy(false);
}

void PluginHost::Destroy(bool releaseInstances) {
    if (mModule == nullptr) {
        return;
    }
    // The host's audio, live and presenter threads stop before the listeners and dialogs they
    // call go away.
    mHost.Audio().Shutdown();
    mHost.Live().Shutdown();
    mHost.Presenter().Shutdown();
    if (releaseInstances) {
        mModule->ReleaseInstances();
    }
    delete mModule;
    mModule = nullptr;
}

void PluginHost::Unload() {
    if (!mLibrary) {
        return;
    }
    // The host stops its network before it unloads plug-ins: tasks still held are released
    // while their code is loaded.
    mHost.Signal().Shutdown();
    mHost.Registration().DropBuilders();
    if (auto unload = reinterpret_cast<UnloadFunction>(mLibrary->Symbol("service_module_unload"))) {
        unload();
    }
    mLibrary.reset();
    mHost.Signal().ReportStillRegistered();
    mHost.Audio().ReportStillRegistered();
    mHost.Live().ReportStillRegistered();
}

}  // namespace sim
