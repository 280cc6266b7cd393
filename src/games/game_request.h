// The one pattern every game request follows, driven by its row in game_calls.h: no request
// without a signal service, a log line, a task for the games' servant with the user's
// identity filled, and a callback that answers the engine unless the request timed out.
#pragma once

#include <type_traits>
#include <utility>

#include "context/plugin_context.h"
#include "core/logger_stream.h"
#include "games/game_calls.h"
#include "games/kinetra_interactive_game_logic.h"
#include "signal/signal_error_helper.h"
#include "signal/taf_task.h"
#include "taf/render.h"

namespace kinetra {

// What follows the method's name in its callback's name.
inline constexpr const wchar_t* kCallbackName = L"::<lambda_1>::operator ()";

// Returns the signal service to send with, or null (logged) when there is none; otherwise
// logs the method's name (unless its row says not to) and `details`.
template <class Call, class... Details>
service_plugin::ISignalService* KinetraInteractiveGameLogic::Announce(const Call& call,
                                                                      const Details&... details) {
    auto* signal = mSignalService.load();
    if (signal == nullptr) {
        core::logger_stream(core::level_err) << call.method << " mSignalService is null";
        return nullptr;
    }
    core::logger_stream line(core::level_inf);
    if (call.namesMethod) {
        line << call.method;
    }
    ((line << details), ...);
    return signal;
}

// Hands the request to the signal service. The callback holds the owner weakly and reaches
// this object, which the owner holds, only while it can lock it: a task the host still holds
// once the instance is stopped and released keeps nothing alive, and a late answer is dropped.
template <class Call>
void KinetraInteractiveGameLogic::Send(const Call& call, service_plugin::ISignalService& signal,
                                       typename Call::Request request) {
    using Task = Meru::TafTaskWithTid<typename Call::Request, typename Call::Response>;
    auto callback = [this, &call, weakOwner = mOwner.Get()](const Meru::SignalErrorHelper* error,
                                                            typename Call::Response* response) {
        const auto owner = weakOwner.lock();
        if (owner && error != nullptr && response != nullptr) {
            Answer(call, *owner, *error, *response);
        }
    };
    signal.SendTask(
        new Task(std::move(request),
                 Meru::RequestDescriptor(std::string(kGameServant), std::string(call.function)),
                 std::move(callback)));
}

template <class Call>
void KinetraInteractiveGameLogic::Answer(const Call& call, PluginContext& owner,
                                         const Meru::SignalErrorHelper& error,
                                         const typename Call::Response& response) {
    if (error.errCode == Meru::kTimedOut && call.timeOut != TimeOutAnswer::answered) {
        if (call.timeOut == TimeOutAnswer::logged) {
            core::logger_stream(core::level_inf) << call.method << kCallbackName << " time out";
        }
        return;
    }
    if (call.recordsTaskId != nullptr) {
        mCurrentGame.SetTaskId(response.*call.recordsTaskId);
    }
    if (call.logsMessage != nullptr) {
        core::logger_stream(core::level_inf)
            << call.method << kCallbackName << " sMessage=" << response.*call.logsMessage;
    }
    if (call.logsResponse) {
        core::logger_stream(core::level_inf)
            << call.method << kCallbackName << " " << taf::render(response);
    }
    if constexpr (std::is_same_v<typename Call::AnswerRecord, typename Call::Response>) {
        owner.SendToEngine(call.answerType, response);
    } else {
        owner.SendToEngine(call.answerType, call.toAnswer(response));
    }
}

}  // namespace kinetra
