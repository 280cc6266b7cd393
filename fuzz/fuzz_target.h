// The fuzz targets as plain functions, shared by the libFuzzer binaries and the replay test:
// each takes bytes nobody vetted and traps when a property of the code under test breaks.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace kinetra::fuzz {

using Input = std::span<const std::uint8_t>;

struct FuzzTarget {
    std::string_view name;  // also the folder of its seeds and regression inputs
    void (*run)(Input input);
};

// Every target, in the order fuzz/run.sh runs them.
std::span<const FuzzTarget> FuzzTargets();

void FuzzEngineEnvelope(Input input);
void FuzzEnginePayload(Input input);
void FuzzServerReply(Input input);
void FuzzPassThrough(Input input);
void FuzzPush(Input input);
void FuzzCoreJson(Input input);
void FuzzToolsJson(Input input);
void FuzzTafTree(Input input);

// A broken property is a finding: stop here so that the fuzzer keeps the input.
inline void Expect(bool holds) {
    if (!holds) {
        __builtin_trap();
    }
}

}  // namespace kinetra::fuzz
