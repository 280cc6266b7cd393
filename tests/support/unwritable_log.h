// Log paths the logger cannot write to, as this platform offers them, for the failure tests.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace testing_support {

struct UnwritableLog {
    std::string name;
    std::wstring path;
    // A file whose presence and bytes must not change; empty when there is none to watch.
    std::filesystem::path watched;
    // Keeps the path unwritable while it lives (an open handle, for instance).
    std::shared_ptr<void> hold;
};

// Cases built inside `folder`: a missing folder, a folder that is a file, and the platform's own
// (on Linux a full disk and a symbolic link, on Windows a file another handle holds without
// sharing).
std::vector<UnwritableLog> UnwritableLogs(const std::filesystem::path& folder);

}  // namespace testing_support
