#include <cstdlib>

#include "support/app_data.h"

namespace testing_support {

bool UseAppDataFolder(const std::filesystem::path& folder) {
    return ::setenv("XDG_DATA_HOME", folder.c_str(), 1) == 0;
}

}  // namespace testing_support
