// Points the plug-in's application-data folder at a test's own folder where the platform allows.
#pragma once

#include <filesystem>

namespace testing_support {

// True when the plug-in will now write its log under `folder`; false when the platform's
// folder cannot be redirected (the test then uses the real one).
bool UseAppDataFolder(const std::filesystem::path& folder);

}  // namespace testing_support
