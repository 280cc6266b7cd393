// The log file when the disk fills part way through a write (a file size limit stands in for
// it): the file keeps whole lines only, and logging goes on once there is room again.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "core/internal/log_file.h"
#include "support/temp_dir.h"

namespace core {
namespace {

using testing_support::ReadFile;
using testing_support::TempDir;

// Limits the size of files this process writes while it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &previous_);
        previous_handler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previous_handler_);
    }

private:
    rlimit previous_{};
    void (*previous_handler_)(int) = nullptr;
};

TEST(LogFilePosix, AWriteThatFailsPartWayLeavesNoHalfLineAndTheNextOneIsWritten) {
    TempDir dir;
    log_file file(dir.file("KinetraService.log"));
    const std::string first = "first line\r\n";
    const std::string batch = std::string(100, 'x') + "\r\n";
    ASSERT_TRUE(file.write(first.data(), first.size()));
    {
        const FileSizeLimit limit(first.size() + 50);
        EXPECT_FALSE(file.write(batch.data(), batch.size()));
    }
    EXPECT_EQ(ReadFile(dir.path() / "KinetraService.log"), first);
    ASSERT_TRUE(file.write(batch.data(), batch.size()));
    file.close();
    EXPECT_EQ(ReadFile(dir.path() / "KinetraService.log"), first + batch);
}

}  // namespace
}  // namespace core
