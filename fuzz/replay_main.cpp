// Replays every seed and every input that ever made a target fail through the same entry
// functions the fuzzers run, without libFuzzer, so each build and platform checks them.
// Usage: fuzz_replay FUZZ_DIR (the folder holding corpus/ and regressions/).
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz_target.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> FilesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::uint8_t> ReadFile(const fs::path& file) {
    std::ifstream stream(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: fuzz_replay FUZZ_DIR\n", stderr);
        return 2;
    }
    const fs::path root = argv[1];
    int status = 0;
    for (const auto& target : kinetra::fuzz::FuzzTargets()) {
        const std::string name(target.name);
        const auto seeds = FilesIn(root / "corpus" / name);
        const auto regressions = FilesIn(root / "regressions" / name);
        for (const auto* files : {&seeds, &regressions}) {
            for (const auto& file : *files) {
                // Printed first, so that the file that traps is the last line shown.
                std::printf("%s\n", file.generic_string().c_str());
                std::fflush(stdout);
                const auto bytes = ReadFile(file);
                target.run(kinetra::fuzz::Input(bytes.data(), bytes.size()));
            }
        }
        std::printf("%s: %zu seeds, %zu regression inputs\n", name.c_str(), seeds.size(),
                    regressions.size());
        if (seeds.empty()) {
            std::printf("%s: no seeds found under %s\n", name.c_str(),
                        root.generic_string().c_str());
            status = 1;
        }
    }
    return status;
}
