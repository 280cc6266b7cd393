// The game in progress, as the engine's messages and the servers' answers record it and as a
// plug-in stop ends it on the servers.
#include <gtest/gtest.h>

#include "integration/game_harness.h"

namespace game_test {
namespace {

struct Step {
    FromEngine type;
    std::string payload;
    // The request the message makes, answered with these response fields; "" when the
    // message makes no request, "-" to leave the request unanswered.
    std::string reply = "";
};

// A request: its function and its fields after the identity.
using Request = std::pair<std::string, std::string>;

struct StateCase {
    const char* name;
    std::vector<Step> steps;
    // What the requests made by the steps carried, in order.
    std::vector<Request> made;
    // What the stop sends.
    std::vector<Request> atStop;
};

const std::string kCrownEnd(kinetra::kCrownGameEndCall.function);
const std::string kGameEnd(kinetra::kGameEndCall.function);

const StateCase kStates[] = {
    {"StopEndsTheTravelGameWithItsTaskId",
     {{FromEngine::kCurrentGame, "00 07 16 02 74 31"}},
     {},
     {{kGameEnd, "1c 26 02 74 31 3c"}}},
    {"StopEndsTheCrownGameOnly",
     {{FromEngine::kCurrentGame, "00 01 16 02 74 31"}},
     {},
     {{kCrownEnd, "1c"}}},
    {"GameEndOfTheCrownGameOnlyLogs",
     {{FromEngine::kCurrentGame, "00 01 16 02 74 31"}, {FromEngine::kGameEnd, "00 01 10 02"}},
     {},
     {{kCrownEnd, "1c"}}},
    {"GameEndClearsTheIdAndSendsNoTaskId",
     {{FromEngine::kCurrentGame, "00 05 16 02 74 35"}, {FromEngine::kGameEnd, "00 05 10 02", "-"}},
     {{kGameEnd, "1c 26 00 3c"}},
     {}},
    {"CrownEndOfAnotherGameDoesNothing",
     {{FromEngine::kCurrentGame, "00 02 16 02 74 32"}, {FromEngine::kCrownGameEnd, "00 02 10 03"}},
     {},
     {{kGameEnd, "1c 26 02 74 32 3c"}}},
    {"CrownEndClearsTheIdBeforeItsAnswer",
     {{FromEngine::kCurrentGame, "00 01 16 02 74 31"},
      {FromEngine::kCrownGameEnd, "00 01 10 03", "-"}},
     {{kCrownEnd, "10 03"}},
     {}},
    {"TravelPreStartAnswerRecordsTheTaskId",
     {{FromEngine::kTravelGamePreStart, "00 06", "16 02 74 36"}},
     {{std::string(kinetra::kTravelGamePreStartCall.function), "10 06"}},
     {{kGameEnd, "1c 26 02 74 36 3c"}}},
    {"TravelStartAnswerKeepsTheTaskId",
     {{FromEngine::kCurrentGame, "00 03 16 02 74 33"},
      {FromEngine::kTravelGameStart, "00 06", "26 02 78 78"}},
     {{std::string(kinetra::kTravelGameStartCall.function), "10 06"}},
     {{kGameEnd, "1c 26 02 74 33 3c"}}},
    {"TimedOutPreStartKeepsTheIdOnly",
     {{FromEngine::kTravelGamePreStart, "00 06", "-"}},
     {{std::string(kinetra::kTravelGamePreStartCall.function), "10 06"}},
     {{kGameEnd, "1c 26 00 3c"}}},
    {"DataRecoveryRecordsTheId",
     {{FromEngine::kGameDataRecoveryCheck, "00 04", "0c"}},
     {{std::string(kinetra::kGameDataRecoveryCall.function), ""}},
     {{kGameEnd, "1c 26 00 3c"}}},
    {"LevelStartRecordsNothing",
     {{FromEngine::kTravelGameLevelStart, "00 06", "0a 0b"}},
     {{std::string(kinetra::kTravelGameLevelStartCall.function), "10 06 2c 3c 56 00"}},
     {}},
};

std::vector<Request> Requests(std::vector<sim::PendingTask>& tasks) {
    std::vector<Request> requests;
    for (const auto& task : tasks) {
        requests.emplace_back(task.Request().functionName,
                              GameHarness::FieldsAfterIdentity(task.Request()));
    }
    return requests;
}

std::vector<Request> Plain(std::vector<Request> requests) {
    for (auto& request : requests) {
        request.second = game_test::Plain(request.second);
    }
    return requests;
}

class GameState : public ::testing::TestWithParam<StateCase> {};

TEST_P(GameState, IsRecordedByMessagesAndAnswersAndEndedByAStop) {
    const auto& c = GetParam();
    GameHarness game;
    std::vector<sim::PendingTask> unanswered;
    std::vector<Request> made;
    for (const auto& step : c.steps) {
        game.Send(step.type, step.payload);
        auto tasks = game.TakeAll();
        ASSERT_EQ(tasks.size(), step.reply.empty() ? 0u : 1u) << number(step.type);
        for (const auto& request : Requests(tasks)) {
            made.push_back(request);
        }
        for (auto& task : tasks) {
            if (step.reply == "-") {
                unanswered.push_back(std::move(task));
            } else {
                task.Answer(sim::Reply::Fields(0, Hex(step.reply)));
            }
        }
    }
    EXPECT_EQ(made, Plain(c.made));
    game.Stop();
    auto atStop = game.TakeAll();
    EXPECT_EQ(Requests(atStop), Plain(c.atStop));
    game.Stop();
    EXPECT_TRUE(game.TakeAll().empty()) << "a second stop finds no game";
}

INSTANTIATE_TEST_SUITE_P(Cases, GameState, ::testing::ValuesIn(kStates), CaseName());

// The crown end carries no task id, so the recorded one shows in its log line.
TEST(GameStateLog, CrownStartAnswerRecordsTheTaskId) {
    GameHarness game;
    game.Send(FromEngine::kCrownGameStart, "00 01");
    auto tasks = game.TakeAll();
    ASSERT_EQ(tasks.size(), 1u);
    tasks[0].Answer(sim::Reply::Fields(0, Hex("26 02 63 39")));
    game.Send(FromEngine::kCrownGameEnd, "00 02 10 03");
    game.Send(FromEngine::kGameEnd, "00 01 10 03");
    game.Stop();
    EXPECT_EQ(game.TakeAll().size(), 1u);
    game.Send(FromEngine::kCurrentGame, "00 08 16 02 74 38");
    const auto log = game.Unload();
    EXPECT_EQ(log.CountEndingWith("ReqEndVirtualInteractiveCrownGamePacket iInteractiveGameID = 1, "
                                  "sInteractiveGameTaskId =c9, iType = 0"),
              1u);
    EXPECT_FALSE(log.ContainsText("iType = 3")) << "the end of game 2 is no crown end";
    EXPECT_EQ(log.CountEndingWith(" CurInteractiveGameID=8 CurInteractiveGameTaskId=t8"), 1u);
}

}  // namespace
}  // namespace game_test
