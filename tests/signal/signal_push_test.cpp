// Push factories and objects: decoding record pushes leniently, and raw pushes byte for byte.
#include "signal/signal_push.h"

#include <gtest/gtest.h>

#include <optional>

#include "support/hex.h"
#include "taf/request_records.h"

namespace Meru {
namespace {

using test::Hex;
using test::PingRsp;

// Runs one push through the factory as the host does: CreateNotify, Notify, Release.
bool Deliver(service_plugin::SignalNotifyStub& factory, const taf::Bytes& bytes) {
    service_plugin::SignalNotify* notice = factory.CreateNotify(
        reinterpret_cast<const char*>(bytes.data()), static_cast<std::uint32_t>(bytes.size()));
    if (notice == nullptr) {
        return false;
    }
    notice->Notify();
    notice->Release();
    return true;
}

// A handler that asks is told whether the decoding failed and whether every field was read
// where the record has it: a push that writes only some fields, in order, is intact; one whose
// bytes were left over or passed over is not.
TEST(SignalPush, RecordPushesAreDecodedLeniently) {
    const PingRsp written{5, "x", {{1, "y"}}};
    PingRsp withUnknown{5, "x", {}};
    const struct {
        const char* what;
        taf::Bytes bytes;
        PingRsp expected;
        bool clean;
        bool intact;
    } cases[] = {
        {"as written", taf::toBytes(written), written, true, true},
        {"empty payload", {}, PingRsp{}, true, true},
        {"only some fields, in order", Hex("00 05 16 01 78"), PingRsp{5, "x", {}}, true, true},
        {"a string's head turned to a later tag", Hex("00 05 36 01 78 29 0c"), PingRsp{5, "", {}},
         true, false},
        {"unknown fields after the known ones",
         Hex("00 05 16 01 78 36 01 7a 5a 06 01 71 0b f9 20 00 01 0c"), withUnknown, true, false},
        {"malformed after the first field", Hex("00 05 16 09 78"), PingRsp{5, "", {}}, false,
         false},
    };
    for (const auto& c : cases) {
        std::optional<PingRsp> seen;
        PushDecode decode;
        SignalPushFactory<PingRsp> factory([&](PingRsp& push, const PushDecode& how) {
            seen = push;
            decode = how;
        });
        ASSERT_TRUE(Deliver(factory, c.bytes)) << c.what;
        ASSERT_TRUE(seen.has_value()) << c.what;
        EXPECT_EQ(*seen, c.expected) << c.what;
        EXPECT_EQ(decode.status >= 0, c.clean) << c.what;
        EXPECT_EQ(decode.Intact(), c.intact) << c.what;
    }
}

TEST(SignalPush, UntypedCallbacksReceiveAPointerToTheRecord) {
    const PingRsp pushed{1, "a", {}};
    PingRsp seen;
    SignalPushFactory<PingRsp> untyped([&](void* value) { seen = *static_cast<PingRsp*>(value); });
    EXPECT_TRUE(Deliver(untyped, taf::toBytes(pushed)));
    EXPECT_EQ(seen, pushed);
}

TEST(SignalPush, RawPushesHandOverTheExactBytesAndTheUri) {
    for (const taf::Bytes& payload : {taf::Bytes{}, Hex("00 ff 0b 0a"), taf::Bytes(70000, 0xEE)}) {
        std::optional<std::pair<taf::Bytes, std::int32_t>> seen;
        SignalPushFactory<taf::Bytes> factory(
            1025513, [&](const taf::Bytes& bytes, std::int32_t uri) { seen.emplace(bytes, uri); });
        ASSERT_TRUE(Deliver(factory, payload));
        ASSERT_TRUE(seen.has_value());
        EXPECT_EQ(seen->first, payload);
        EXPECT_EQ(seen->second, 1025513);
    }
}

TEST(SignalPush, NothingThrownLeavesNotify) {
    SignalPushFactory<PingRsp> factory([](PingRsp&) { throw std::runtime_error("handler"); });
    EXPECT_NO_THROW(Deliver(factory, {}));
}

}  // namespace
}  // namespace Meru
