#include <dlfcn.h>
#include <unistd.h>

#include <climits>

#include "host/shared_library.h"

namespace sim {

std::unique_ptr<SharedLibrary> SharedLibrary::Open(const std::string& path, std::string& error) {
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = ::dlerror();
        error = reason != nullptr ? reason : "dlopen failed";
        return nullptr;
    }
    return std::unique_ptr<SharedLibrary>(new SharedLibrary(handle));
}

SharedLibrary::~SharedLibrary() {
    ::dlclose(mHandle);
}

void* SharedLibrary::Symbol(const char* name) const {
    return ::dlsym(mHandle, name);
}

std::string ExecutableFolder() {
    char path[PATH_MAX] = {};
    const ssize_t size = ::readlink("/proc/self/exe", path, sizeof path - 1);
    std::string executable(path, size > 0 ? static_cast<std::size_t>(size) : 0);
    return executable.substr(0, executable.rfind('/'));
}

std::string PluginLibraryName() {
    return "libKinetraService.so";
}

}  // namespace sim
