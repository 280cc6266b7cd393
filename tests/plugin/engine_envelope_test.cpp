#include "plugin/engine_envelope.h"

#include <gtest/gtest.h>

#include "support/allocation_probe.h"

namespace kinetra {
namespace {

using taf::Bytes;

TEST(EngineEnvelope, EncodesTheTypeAsUnsigned32BitsAndThePayloadAsSimpleList) {
    struct Case {
        std::int32_t type;
        Bytes payload;
        Bytes expected;
    };
    const Case cases[] = {
        // Live state 1 and 0, as the engine expects them byte for byte.
        {39, {0x00, 0x01}, {0x00, 0x27, 0x1D, 0x00, 0x00, 0x02, 0x00, 0x01}},
        {39, {0x0C}, {0x00, 0x27, 0x1D, 0x00, 0x00, 0x01, 0x0C}},
        {25, {}, {0x00, 0x19, 0x1D, 0x00, 0x0C}},
        {0, {}, {0x0C, 0x1D, 0x00, 0x0C}},
        {2014, {}, {0x01, 0x07, 0xDE, 0x1D, 0x00, 0x0C}},
        {static_cast<std::int32_t>(0x80000000u),
         {},
         {0x03, 0x00, 0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x1D, 0x00, 0x0C}},
        {-1, {}, {0x03, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x1D, 0x00, 0x0C}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeEngineEnvelope(c.type, c.payload), c.expected) << "type " << c.type;
        const EngineEnvelope decoded = DecodeEngineEnvelope(c.expected);
        EXPECT_EQ(decoded.type, c.type);
        EXPECT_EQ(decoded.payload, c.payload);
    }
}

// The type may come in any integer width; anything else at tag 0 makes it type 0.
TEST(EngineEnvelope, TypeIsReadFromAnyIntegerWidth) {
    const std::pair<Bytes, std::int32_t> cases[] = {
        {{0x00, 0x16}, 22},
        {{0x01, 0x00, 0x16}, 22},
        {{0x02, 0x00, 0x00, 0x00, 0x16}, 22},
        {{0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x16}, 22},
        {{0x03, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x16}, 22},  // the low 32 bits count
        {{}, 0},
        {{0x06, 0x02, '2', '2'}, 0},                // a string
        {{0x05, 0, 0, 0, 0, 0, 0, 0x36, 0x40}, 0},  // a double
        {{0x02, 0x00, 0x00}, 0},                    // a 32-bit value cut short
        {{0x1D, 0x00, 0x01, 0x07}, 0},              // no tag 0, only a payload
    };
    for (const auto& [input, type] : cases) {
        EXPECT_EQ(DecodeEngineEnvelope(input).type, type) << ::testing::PrintToString(input);
    }
    EXPECT_EQ(DecodeEngineEnvelope(Bytes{0x1D, 0x00, 0x00, 0x01, 0x07}).payload, Bytes{0x07});
}

TEST(EngineEnvelope, HostilePayloadsNeverOutgrowTheInput) {
    const Bytes inputs[] = {
        {0x00, 0x18, 0x1D, 0x00},                                // payload head without a size
        {0x00, 0x18, 0x1D, 0x00, 0x02, 0x7F, 0xFF, 0xFF, 0xFF},  // 2 GiB declared, none there
        {0x00, 0x18, 0x1D, 0x00, 0x01, 0x10, 0x00, 'a', 'b'},    // 4096 declared, 2 there
        {0x00, 0x18, 0x19, 0x02, 0x7F, 0xFF, 0xFF, 0xFF},        // a list claiming 2^31 bytes
    };
    for (const auto& input : inputs) {
        test::AllocationProbe probe;
        const EngineEnvelope decoded = DecodeEngineEnvelope(input);
        EXPECT_EQ(decoded.type, 24) << "the type was read before the payload failed";
        EXPECT_LE(decoded.payload.size(), input.size());
        EXPECT_LT(probe.totalBytes(), 64u * 1024) << ::testing::PrintToString(input);
    }
}

}  // namespace
}  // namespace kinetra
