#include "support/app_data.h"

namespace testing_support {

// The shell's application-data folder comes from the user profile, not from the environment.
// The Windows build runs all tests in one process, one after another, so they share it safely.
bool UseAppDataFolder(const std::filesystem::path&) {
    return false;
}

}  // namespace testing_support
