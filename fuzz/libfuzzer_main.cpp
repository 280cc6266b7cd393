// The libFuzzer entry of one target; KINETRA_FUZZ_ENTRY names its function (see CMakeLists.txt).
#include <cstddef>
#include <cstdint>

#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kinetra::fuzz::KINETRA_FUZZ_ENTRY(kinetra::fuzz::Input(data, size));
    return 0;
}
