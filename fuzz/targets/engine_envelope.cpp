// The envelope of every engine message: decoding whatever the channel delivers, then encoding
// the result and decoding it again gives the same type and payload.
#include "plugin/engine_envelope.h"
#include "fuzz_target.h"

namespace kinetra::fuzz {

void FuzzEngineEnvelope(Input input) {
    const EngineEnvelope envelope = DecodeEngineEnvelope(input);
    const taf::Bytes encoded = EncodeEngineEnvelope(envelope.type, envelope.payload);
    const EngineEnvelope again = DecodeEngineEnvelope(encoded);
    Expect(again.type == envelope.type);
    Expect(again.payload == envelope.payload);
}

}  // namespace kinetra::fuzz
