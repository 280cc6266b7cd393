#include <windows.h>

#include "support/temp_dir.h"
#include "support/unwritable_log.h"

namespace testing_support {

std::vector<UnwritableLog> UnwritableLogs(const std::filesystem::path& folder) {
    WriteFile(folder / "plain", "a file, not a folder");
    const std::filesystem::path held = folder / "held.log";
    WriteFile(held, "kept");
    // Opened without sharing, as another process holding the log would: the sharing check is the
    // same whichever process holds the handle.
    HANDLE handle = CreateFileW(held.wstring().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::shared_ptr<void> hold(handle, [](void* h) {
        if (h != INVALID_HANDLE_VALUE) {
            CloseHandle(h);
        }
    });
    return {
        {"missing folder",
         (folder / "missing/KinetraService.log").wstring(),
         folder / "missing",
         {}},
        {"folder is a file", (folder / "plain/KinetraService.log").wstring(), folder / "plain", {}},
        {"file held open", held.wstring(), held, hold},
    };
}

}  // namespace testing_support
