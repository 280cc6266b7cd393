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
    // Every write to it fails as on a full disk.
    if (std::filesystem::exists("/dev/full")) {
        logs.push_back({"full disk", L"/dev/full", {}, {}});
    }
    return logs;
}

}  // namespace testing_support
