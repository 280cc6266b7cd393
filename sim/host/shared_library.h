// Loading a shared library by path, as the host loads its plug-ins.
#pragma once

#include <memory>
#include <string>

namespace sim {

class SharedLibrary {
public:
    // Null when the library cannot be loaded; `error` then says why.
    static std::unique_ptr<SharedLibrary> Open(const std::string& path, std::string& error);
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    void* Symbol(const char* name) const;

private:
    explicit SharedLibrary(void* handle) : mHandle(handle) {}
    void* mHandle;
};

// The folder of the running executable, where the build puts the plug-in and the stand-ins.
std::string ExecutableFolder();
// The plug-in's file name on this platform.
std::string PluginLibraryName();

}  // namespace sim
