// A named plug-in instance whose lifecycle operations do nothing until a subclass says so.
#pragma once

#include <string>

#include "service_plugin/plugin_framework.h"

namespace kinetra {

class PluginInstanceImpl : public service_plugin::PluginInstance {
public:
    explicit PluginInstanceImpl(std::string name) : mName(std::move(name)) {}

    const char* GetName() override { return mName.c_str(); }
    void Init() override {}
    void Uninit() override {}
    bool Start() override { return true; }
    void Stop() override {}

private:
    std::string mName;
};

}  // namespace kinetra
