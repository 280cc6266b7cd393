#include <windows.h>

#include <iterator>

#include "core/thread_name.h"

namespace core {
namespace {

using SetDescription = HRESULT(WINAPI*)(HANDLE, PCWSTR);

// Looked up rather than linked: systems older than the function still load the plug-in.
SetDescription set_description() {
    static const SetDescription found = [] {
        HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
        return kernel == nullptr ? nullptr
                                 : reinterpret_cast<SetDescription>(reinterpret_cast<void*>(
                                       GetProcAddress(kernel, "SetThreadDescription")));
    }();
    return found;
}

}  // namespace

void name_this_thread(const char* name) noexcept {
    const SetDescription set = set_description();
    if (set == nullptr) {
        return;
    }
    wchar_t wide[32] = {};
    // Our names are ASCII.
    for (std::size_t i = 0; i + 1 < std::size(wide) && name[i] != '\0'; ++i) {
        wide[i] = static_cast<wchar_t>(name[i]);
    }
    set(GetCurrentThread(), wide);
}

}  // namespace core
