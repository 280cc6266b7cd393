// Every push the plug-in subscribes to: the host hands the factory the push's bytes, then
// delivers and releases the push object. The first byte picks the push record, the rest is
// the push; the last row is the raw push that goes to the engine as received.
#include "fuzz_target.h"
#include "live/live_protocol.h"
#include "record_property.h"
#include "signal/signal_push.h"
#include "taf/records/crown_game.h"
#include "taf/records/interactive_game.h"
#include "taf/records/live_pushes.h"
#include "taf/records/travel_game.h"

namespace kinetra::fuzz {
namespace {

template <class T>
void Deliver(Meru::SignalPushFactory<T>& factory, Input push) {
    service_plugin::SignalNotifyStub& stub = factory;
    service_plugin::SignalNotify* notify = stub.CreateNotify(
        reinterpret_cast<const char*>(push.data()), static_cast<std::uint32_t>(push.size()));
    Expect(notify != nullptr);
    notify->Notify();
    notify->Release();
}

template <class T>
void PushRecord(Input push) {
    bool called = false;
    Meru::SignalPushFactory<T> factory([&](T& record) {
        called = true;
        ExpectStableRecord(record);
    });
    Deliver(factory, push);
    Expect(called);
}

void PushRaw(Input push) {
    bool called = false;
    Meru::SignalPushFactory<taf::Bytes> factory(
        kMessageNoticeUri, [&](const taf::Bytes& received, std::int32_t uri) {
            called = true;
            Expect(uri == static_cast<std::int32_t>(kMessageNoticeUri));
            Expect(std::equal(received.begin(), received.end(), push.begin(), push.end()));
        });
    Deliver(factory, push);
    Expect(called);
}

}  // namespace

void FuzzPush(Input input) {
    if (input.empty()) {
        return;
    }
    const Input push = input.subspan(1);
    PickRow<MERU::MessageNotice, MERU::SendItemSubBroadcastPacket, MERU::VirtualCrownGameDataNotify,
            MERU::VirtualTravelGuessWordsGameNotice, MERU::VirtualTravelEmpowermentGameNotice,
            MERU::VirtualInteractiveGameNotice, taf::Bytes>(input[0], [&]<class T>() {
        if constexpr (std::is_same_v<T, taf::Bytes>) {
            PushRaw(push);
        } else {
            PushRecord<T>(push);
        }
    });
}

}  // namespace kinetra::fuzz
