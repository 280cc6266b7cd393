// What the integration tests of server-backed engine commands share: a host identity, taking
// the plug-in's requests from the simulated signal service, and the log once the library is
// gone.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>

#include "support/running_plugin.h"
#include "support/server_identity.h"
#include "taf/records/user_id.h"
#include "taf/server_functions.h"

namespace testing_support {

// The identity the host's account gives a request, cookie and device id as the caller set them.
inline MERU::UserId HostUserId(const sim::HostAnswers& answers, std::string cookie = {},
                               std::string deviceId = {}) {
    return {answers.uid,       answers.guid,      answers.token,      answers.ua,
            std::move(cookie), answers.tokenType, std::move(deviceId)};
}

// The oldest request the plug-in has sent once the engine's messages are handled.
inline std::optional<sim::PendingTask> NextRequest(RunningPlugin& running) {
    EXPECT_TRUE(running.engine.WaitIdle());
    auto task = running.host.Signal().TakeTask();
    EXPECT_TRUE(task.has_value()) << "no request was sent";
    return task;
}

// The oldest request to `function`; requests to other functions sent before it are released
// unanswered.
inline std::optional<sim::PendingTask> NextRequest(RunningPlugin& running,
                                                   const taf::ServerFunction& function) {
    EXPECT_TRUE(running.engine.WaitIdle());
    while (auto task = running.host.Signal().TakeTask()) {
        if (task->Request().servantName == function.servant &&
            task->Request().functionName == function.function) {
            return task;
        }
    }
    ADD_FAILURE() << "no request to " << function.servant << "/" << function.function;
    return std::nullopt;
}

// Drops the two requests every start sends: the start configuration, then the gift list.
inline void DropStartRequests(RunningPlugin& running) {
    for (const taf::ServerFunction& function :
         std::initializer_list<taf::ServerFunction>{taf::kGetConfig, taf::kGetPropsList}) {
        auto task = running.host.Signal().TakeTask();
        ASSERT_TRUE(task.has_value());
        ASSERT_EQ(task->Request().functionName, function.function);
    }
}

// Unloads the library, so that every line is written, and reads the log.
inline LogFile UnloadAndReadLog(RunningPlugin& running) {
    EXPECT_TRUE(running.engine.WaitIdle());
    running.plugin.DestroyModule();
    running.plugin.Unload();
    return running.log.Read();
}

// The level of the one line with exactly `text`; empty when there is none or several.
inline std::string LevelOfLine(const LogFile& log, const std::string& text) {
    std::string level;
    int found = 0;
    for (const auto& line : log.lines) {
        if (line.text == text) {
            level = line.level;
            ++found;
        }
    }
    return found == 1 ? level : std::string();
}

}  // namespace testing_support
