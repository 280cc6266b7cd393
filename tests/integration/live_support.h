// What the live-side integration tests share: a host that is live with a camera to save, and
// the server requests the plug-in left waiting in the simulated signal service.
#pragma once

#include <string>
#include <tuple>
#include <vector>

#include "games/game_calls.h"
#include "host/sim_signal_service.h"
#include "live/live_protocol.h"
#include "taf/records/live_attribute.h"
#include "taf/server_functions.h"

namespace live_test {

inline sim::HostAnswers LiveHost() {
    sim::HostAnswers answers;
    answers.uid = 4242;
    answers.gameId = 9;
    answers.liveId = 31;
    answers.userValue = 7;
    answers.userText1 = "text one";
    answers.userText2 = "text two";
    answers.clientVersion = "5.1.0";
    answers.camera = {"cam", "detail", {1, 2}, {3, 4}};
    return answers;
}

// Push handlers a started instance holds: the live side's and the games'.
inline constexpr std::size_t kStartPushHandlers =
    std::tuple_size_v<kinetra::LivePushes> + std::tuple_size_v<kinetra::GamePushes>;

// Takes every task waiting in step mode, oldest first.
inline std::vector<sim::PendingTask> TakeTasks(sim::SimSignalService& signal) {
    std::vector<sim::PendingTask> tasks;
    while (auto task = signal.TakeTask()) {
        tasks.push_back(std::move(*task));
    }
    return tasks;
}

inline bool Calls(const sim::PendingTask& task, const taf::ServerFunction& function) {
    return task.Request().servantName == function.servant &&
           task.Request().functionName == function.function;
}

// The value each setLiveTag request among `tasks` set, in order ("1" or "0"); both tags
// must carry the same value.
inline std::vector<std::string> LiveTagValues(const std::vector<sim::PendingTask>& tasks) {
    std::vector<std::string> values;
    for (const auto& task : tasks) {
        MERU::SetLiveAttributeReq request;
        if (!Calls(task, taf::kSetLiveTag) || !task.Request().RequestAs(request)) {
            continue;
        }
        const auto& first = request.mpTags.at("sorvane3d").vValue;
        values.emplace_back(first.begin(), first.end());
        if (request.mpTags.at("sorvane3d_multipk").vValue != first) {
            values.back() += "(tags differ)";
        }
    }
    return values;
}

}  // namespace live_test
