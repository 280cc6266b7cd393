// The built plug-in running in the simulated host with the signal service in step mode, for
// the game tests: engine messages in, server requests taken and answered one by one.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "games/game_calls.h"
#include "integration/server_calls.h"
#include "support/hex.h"
#include "taf/codec.h"

namespace game_test {

using kinetra::FromEngine;
using kinetra::ToEngine;
using test::Hex;
using test::ToHex;

// Names a parameterised case by its `name` field.
struct CaseName {
    template <class Param>
    std::string operator()(const ::testing::TestParamInfo<Param>& info) const {
        return info.param.name;
    }
};

// Hex text without blanks, as ToHex writes it.
inline std::string Plain(const std::string& hex) {
    return ToHex(Hex(hex));
}

// The identity every request carries first: the host's, as a record at `tag`.
inline std::string IdentityHex(taf::Tag tag = 0) {
    taf::TafOutputStream out;
    taf::writeValue(out, testing_support::HostUserId(testing_support::ServerIdentity()), tag);
    return ToHex(out.toBytes());
}

class GameHarness {
public:
    // The start's own requests (start configuration, gift list) are dropped.
    explicit GameHarness(std::set<sim::ServiceKind> absent = {})
        : running(testing_support::ServerIdentity(), std::move(absent)) {
        TakeAll();
    }

    sim::SimSignalService& Signal() { return running.host.Signal(); }

    // Sends an engine message given as hex and waits until the plug-in has handled it.
    void Send(FromEngine type, const std::string& payload) {
        running.engine.Send(type, Hex(payload));
        EXPECT_TRUE(running.engine.WaitIdle());
    }

    // Every game request sent since the last call, oldest first; the live tags a stop clears
    // are dropped.
    std::vector<sim::PendingTask> TakeAll() {
        std::vector<sim::PendingTask> tasks;
        while (auto task = Signal().TakeTask()) {
            if (task->Request().functionName != taf::kSetLiveTag.function) {
                tasks.push_back(std::move(*task));
            }
        }
        return tasks;
    }

    // The hex of a request's fields after its identity; "!" when there is no identity first.
    static std::string FieldsAfterIdentity(const sim::SentRequest& request) {
        const std::string fields = ToHex(request.RequestFields());
        const std::string identity = IdentityHex();
        if (fields.compare(0, identity.size(), identity) != 0) {
            return "!" + fields;
        }
        return fields.substr(identity.size());
    }

    // Stops the instance, as the host or a close notice does.
    void Stop() { running.instance->Stop(); }

    // Releases the instance and unloads the library, which writes the whole log.
    testing_support::LogFile Unload() { return testing_support::UnloadAndReadLog(running); }

    testing_support::RunningPlugin running;
};

}  // namespace game_test
