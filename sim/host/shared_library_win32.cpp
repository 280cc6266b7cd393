#include <windows.h>

#include "core/text.h"
#include "host/shared_library.h"

namespace sim {

std::unique_ptr<SharedLibrary> SharedLibrary::Open(const std::string& path, std::string& error) {
    HMODULE module = LoadLibraryW(core::Utf8ToWide(path).c_str());
    if (module == nullptr) {
        error = "LoadLibraryW failed with error " + std::to_string(GetLastError());
        return nullptr;
    }
    return std::unique_ptr<SharedLibrary>(new SharedLibrary(module));
}

SharedLibrary::~SharedLibrary() {
    FreeLibrary(static_cast<HMODULE>(mHandle));
}

void* SharedLibrary::Symbol(const char* name) const {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(mHandle), name));
}

std::string ExecutableFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD size = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::string executable = core::WideToUtf8(path, static_cast<int>(size));
    return executable.substr(0, executable.find_last_of("\\/"));
}

std::string PluginLibraryName() {
    return "KinetraService.dll";
}

}  // namespace sim
