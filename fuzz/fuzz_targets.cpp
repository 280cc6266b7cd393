#include "fuzz_target.h"

namespace kinetra::fuzz {

std::span<const FuzzTarget> FuzzTargets() {
    static constexpr FuzzTarget kTargets[] = {
        {"engine_envelope", &FuzzEngineEnvelope},
        {"engine_payload", &FuzzEnginePayload},
        {"server_reply", &FuzzServerReply},
        {"pass_through", &FuzzPassThrough},
        {"push", &FuzzPush},
        {"core_json", &FuzzCoreJson},
        {"tools_json", &FuzzToolsJson},
        {"taf_tree", &FuzzTafTree},
    };
    return kTargets;
}

}  // namespace kinetra::fuzz
