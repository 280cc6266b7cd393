// The room's gift list, fetched from the servers once per instance and kept for the engine,
// which receives it encoded in the init data.
#pragma once

#include <memory>
#include <mutex>

#include "context/context_ref.h"
#include "signal/signal_error_helper.h"
#include "taf/records/props_list.h"
#include "taf/wire.h"

namespace kinetra {

class GiftListDataCenter {
public:
    void Init(const std::shared_ptr<PluginContext>& owner);
    // Asks the servers while no list is cached; without an instance, a signal or a room
    // service, does nothing.
    void ReqPropList();
    // The cached list as one encoded record; an empty one before the first successful reply.
    taf::Bytes GetPropList() const;

private:
    void OnPropList(const Meru::SignalErrorHelper& error, MERU::GetPropsListRsp& response);

    ContextRef mOwner;
    mutable std::mutex mMutex;
    MERU::GetPropsListRsp mList;
};

}  // namespace kinetra
