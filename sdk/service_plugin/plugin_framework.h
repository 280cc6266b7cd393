// The host's plug-in framework: registry, module builder, module and instance.
// Virtual operations are declared in slot order. Every declaration in sdk/ ends with its slot
// number as the comment "// N" (or "// N: note"), counted as the host's compiler counts them: a
// virtual destructor takes one slot. The vtable_slots test checks each one. A slot the plug-in
// never uses keeps its place with a Reserved placeholder so that later slots keep their numbers.
#pragma once

namespace service_plugin {

class PluginInstance {
public:
    virtual const char* GetName() = 0;    // 0
    virtual void Init() = 0;              // 1
    virtual void Uninit() = 0;            // 2
    virtual bool Start() = 0;             // 3
    virtual void Stop() = 0;              // 4
    virtual ~PluginInstance() = default;  // 5
};

class PluginModule {
public:
    virtual const char* GetName() = 0;                          // 0
    virtual bool IsReady() = 0;                                 // 1
    virtual void ReleaseInstances() = 0;                        // 2: Uninit of every instance
    virtual PluginInstance* GetInstance(const char* name) = 0;  // 3
    virtual ~PluginModule() = default;                          // 4
};

class PluginModuleBuilder {
public:
    virtual PluginModule* Build(const char* name) = 0;  // 0: the host owns the module
    virtual ~PluginModuleBuilder() = default;           // 1
};

class IPluginRegistry {
public:
    // The host takes ownership of the builder.
    virtual void RegisterBuilder(const char* module, PluginModuleBuilder* builder) = 0;  // 0
    // Stores a borrowed service pointer, or null when the host has no such instance.
    virtual void QueryInstance(const char* module, const char* instance, void** out) = 0;  // 1

protected:
    ~IPluginRegistry() = default;
};

}  // namespace service_plugin
