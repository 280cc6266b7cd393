#include "support/temp_dir.h"
#include "support/unwritable_log.h"

namespace testing_support {

std::vector<UnwritableLog> UnwritableLogs(const std::filesystem::path& folder) {
    WriteFile(folder / "plain", "a file, not a folder");
    std::vector<UnwritableLog> logs = {
        {"missing folder",
         (folder / "missing/KinetraService.log").wstring(),
         folder / "missing",
         {}},
        {"folder is a file", (folder / "plain/KinetraService.log").wstring(), folder / "plain", {}},
    };
    // Another user's link in a shared folder must not decide which file the log appends to.
    WriteFile(folder / "target", "someone else's file");
    std::filesystem::create_symlink(folder / "target", folder / "link.log");
    logs.push_back({"symbolic link", (folder / "link.log").wstring(), folder / "target", {}});
    // Every write to it fails as on a full disk.
    if (std::filesystem::exists("/dev/full")) {
        logs.push_back({"full disk", L"/dev/full", {}, {}});
    }
    return logs;
}

}  // namespace testing_support
