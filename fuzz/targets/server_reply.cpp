// The reply path of every server request: the host hands a request task the reply's bytes
// (frame, packet, body, return value and "tRsp"), the task decodes them and calls back. The
// first byte picks the response record, the rest is the reply.
#include "fuzz_target.h"
#include "record_property.h"
#include "signal/taf_task.h"
#include "signal/taf_task_no_rsp.h"
#include "taf/records/crown_game.h"
#include "taf/records/interactive_game.h"
#include "taf/records/live_attribute.h"
#include "taf/records/props_list.h"
#include "taf/records/start_config.h"
#include "taf/records/travel_game.h"
#include "taf/records/update_info.h"

namespace kinetra::fuzz {
namespace {

// The reply path does not read the request; any request record stands in for it.
using AnyRequest = MERU::GetConfigReq;

// The address is not read either.
Meru::RequestDescriptor Address() {
    return {"servant", "function"};
}

// Runs a reply through the task the way the host does: the reply, then the callback.
template <class Task>
void Deliver(Task* task, Input reply) {
    task->OnResponse(reinterpret_cast<const char*>(reply.data()), reply.size(), 0, 0);
    task->OnCallback();
    task->Release();
}

template <class Rsp>
void ReplyWithRecord(Input reply) {
    bool called = false;
    auto* task = new Meru::TafTask<AnyRequest, Rsp>(
        AnyRequest{}, Address(), [&](const Meru::SignalErrorHelper*, Rsp* response) {
            called = true;
            ExpectStableRecord(*response);
        });
    Deliver(task, reply);
    Expect(called);
}

void ReplyWithReturnValueOnly(Input reply) {
    bool called = false;
    auto* task = new Meru::TafTaskNoRsp<AnyRequest>(
        AnyRequest{}, Address(), [&](const Meru::SignalErrorHelper*) { called = true; });
    Deliver(task, reply);
    Expect(called);
}

}  // namespace

void FuzzServerReply(Input input) {
    if (input.empty()) {
        return;
    }
    const Input reply = input.subspan(1);
    const std::uint8_t selector = input[0];
    // Every response record a request of the plug-in reads, and the requests without one.
    PickRow<MERU::GetConfigRsp, MERU::GetMobileUpdateInfoRsp, MERU::TransMsgToViewerRsp,
            MERU::GetPropsListRsp, MERU::GetInteractiveGameInfoRsp,
            MERU::VirtualInteractiveGameHeartbeatRsp, MERU::EndVirtualInteractiveGameRsp,
            MERU::PreCrownGameDataQueryRsp, MERU::StartVirtualInteractiveCrownGameRsp,
            MERU::EndVirtualInteractiveCrownGameRsp, MERU::VirtualCrownGameHeartbeatRsp,
            MERU::GetVirtualCrownGameOrnamentRsp, MERU::PreStartVirtualInteractiveTravelGameRsp,
            MERU::StartVirtualInteractiveTravelGameRsp, MERU::StartVirtualTravelGameRsp, void>(
        selector, [&]<class Rsp>() {
            if constexpr (std::is_void_v<Rsp>) {
                ReplyWithReturnValueOnly(reply);
            } else {
                ReplyWithRecord<Rsp>(reply);
            }
        });
}

}  // namespace kinetra::fuzz
