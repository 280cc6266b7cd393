// Every game request of the engine through the real library: the one server request it
// makes, and the engine's answer to the reply or to a time-out.
#include <gtest/gtest.h>

#include <cwchar>

#include "integration/game_harness.h"

namespace game_test {
namespace {

using testing_support::LogFile;

// A score record {1, 2, 3, "x"} and a level record {5, 6, 7}, each in a list of one.
constexpr const char* kScore = "00 01 0a 00 01 10 02 20 03 36 01 78 0b";
constexpr const char* kLevel = "00 01 0a 00 05 10 06 20 07 0b";
// A level configuration {1, 2, "a", "b", aa bb}, its fields without a struct around them.
constexpr const char* kConfig = "00 01 10 02 26 01 61 36 01 62 4d 00 00 02 aa bb";

std::string S(const std::string& a, const std::string& b = "", const std::string& c = "",
              const std::string& d = "", const std::string& e = "", const std::string& f = "") {
    return a + " " + b + " " + c + " " + d + " " + e + " " + f;
}

struct RequestCase {
    const char* name;
    FromEngine type;
    std::string payload;
    std::string_view function;
    // The request's fields after its identity.
    std::string request;
    // The reply's response fields.
    std::string reply;
    ToEngine answer;
    std::string answerPayload;
};

const RequestCase kRequests[] = {
    {"GameInfo", FromEngine::kGameInfoRequest, "00 09", kinetra::kGameInfoCall.function, "10 09",
     "09 00 01 0a 00 07 16 01 61 26 01 62 39 00 01 06 01 63 46 01 64 0b", ToEngine::kGameInfo,
     "0c 19 00 01 0a 00 07 16 01 61 26 01 62 39 00 01 06 01 63 46 01 64 0b"},
    // The game id is recorded, not sent; the answer has the reply's tags, false kept false.
    {"DataRecovery", FromEngine::kGameDataRecoveryCheck, "00 05",
     kinetra::kGameDataRecoveryCall.function, "",
     S("0c 19", kScore, "20 04 36 01 74 49", kLevel, "50 08 60 09"),
     ToEngine::kGameDataRecoveryAnswer,
     S("0c 19", kScore, "20 04 36 01 74 49", kLevel, "50 08 60 09")},
    // No tag 2 in the request.
    {"GameHeartbeat", FromEngine::kGameHeartbeat, "00 06 16 02 68 37",
     kinetra::kGameHeartbeatCall.function, "10 06 36 02 68 37", "06 02 6f 6b",
     ToEngine::kGameHeartbeatAnswer, "06 02 6f 6b"},
    // Only the task id is filled, and it is the empty one.
    {"GameEnd", FromEngine::kGameEnd, "00 05 10 02", kinetra::kGameEndCall.function, "1c 26 00 3c",
     "06 03 62 79 65", ToEngine::kGameEndAnswer, "06 03 62 79 65"},
    // 0, then the start answer's tags 0 to 4 at 1 to 5.
    {"CrownStart", FromEngine::kCrownGameStart, "00 01", kinetra::kCrownGameStartCall.function, "",
     S("09", kScore, "10 1e 26 02 63 39 39", kLevel, "40 02"), ToEngine::kCrownGameStartAnswer,
     S("0c 19", kScore, "20 1e 36 02 63 39 49", kLevel, "50 02")},
    {"CrownEnd", FromEngine::kCrownGameEnd, "00 01 10 03", kinetra::kCrownGameEndCall.function,
     "10 03", "06 02 6f 6b", ToEngine::kCrownGameEndAnswer, "06 02 6f 6b"},
    {"CrownHeartbeat", FromEngine::kCrownGameHeartbeat, "00 01 16 02 63 39",
     kinetra::kCrownGameHeartbeatCall.function, "16 02 63 39", "06 01 61",
     ToEngine::kCrownGameHeartbeatAnswer, "06 01 61"},
    {"TravelStart", FromEngine::kTravelGameStart, "00 06", kinetra::kTravelGameStartCall.function,
     "10 06", "00 02 10 03 26 02 74 36 30 0f", ToEngine::kTravelGameStartAnswer,
     "00 02 10 03 26 02 74 36 30 0f"},
    // iHaveData 5 is true.
    {"TravelPreStart", FromEngine::kTravelGamePreStart, "00 06",
     kinetra::kTravelGamePreStartCall.function, "10 06",
     S("0a", kConfig, "0b 16 02 74 36 20 05 30 0f 40 01"), ToEngine::kTravelGamePreStartAnswer,
     S("00 01 1a", kConfig, "0b 26 02 74 36 30 0f 40 01")},
    // No tag 4 in the request; the answer is the configuration itself, not wrapped.
    {"TravelLevelStart", FromEngine::kTravelGameLevelStart, "00 06 10 02 20 03 36 02 74 36",
     kinetra::kTravelGameLevelStartCall.function, "10 06 20 02 30 03 56 02 74 36",
     S("0a", kConfig, "0b"), ToEngine::kTravelGameLevelStartAnswer, kConfig},
};

class GameRequest : public ::testing::TestWithParam<RequestCase> {};

TEST_P(GameRequest, MakesOneServerRequestAndAnswersItsReply) {
    const auto& c = GetParam();
    GameHarness game;
    game.Send(c.type, c.payload);
    auto tasks = game.TakeAll();
    ASSERT_EQ(tasks.size(), 1u);
    const auto& request = tasks[0].Request();
    EXPECT_EQ(request.servantName, kinetra::kGameServant);
    EXPECT_EQ(request.functionName, c.function);
    EXPECT_EQ(std::vector<std::uint32_t>(std::begin(request.options), std::end(request.options)),
              (std::vector<std::uint32_t>{3000, 1, 3, 3}));
    EXPECT_EQ(GameHarness::FieldsAfterIdentity(request), Plain(c.request));

    tasks[0].Answer(sim::Reply::Fields(0, Hex(c.reply)));
    const auto answer = game.running.engine.WaitFor(c.answer);
    ASSERT_TRUE(answer);
    EXPECT_EQ(ToHex(answer->payload), Plain(c.answerPayload));
    EXPECT_TRUE(game.TakeAll().empty());
}

INSTANTIATE_TEST_SUITE_P(EveryRequest, GameRequest, ::testing::ValuesIn(kRequests), CaseName());

struct TimeOutCase {
    const char* name;
    FromEngine type;
    std::string payload;
    const wchar_t* method;
    ToEngine answer;
    // Empty when nothing answers.
    std::string answerPayload;
    bool logged;
};

const TimeOutCase kTimeOuts[] = {
    {"GameInfo", FromEngine::kGameInfoRequest, "", kinetra::kGameInfoCall.method,
     ToEngine::kGameInfo, "", false},
    {"DataRecovery", FromEngine::kGameDataRecoveryCheck, "00 05",
     kinetra::kGameDataRecoveryCall.method, ToEngine::kGameDataRecoveryAnswer, "", true},
    {"GameHeartbeat", FromEngine::kGameHeartbeat, "", kinetra::kGameHeartbeatCall.method,
     ToEngine::kGameHeartbeatAnswer, "", true},
    {"GameEnd", FromEngine::kGameEnd, "00 05", kinetra::kGameEndCall.method,
     ToEngine::kGameEndAnswer, "", true},
    {"CrownStart", FromEngine::kCrownGameStart, "00 01", kinetra::kCrownGameStartCall.method,
     ToEngine::kCrownGameStartAnswer, "", true},
    {"CrownEnd", FromEngine::kCrownGameEnd, "00 01", kinetra::kCrownGameEndCall.method,
     ToEngine::kCrownGameEndAnswer, "06 00", false},
    {"CrownHeartbeat", FromEngine::kCrownGameHeartbeat, "", kinetra::kCrownGameHeartbeatCall.method,
     ToEngine::kCrownGameHeartbeatAnswer, "06 00", false},
    {"TravelStart", FromEngine::kTravelGameStart, "00 06", kinetra::kTravelGameStartCall.method,
     ToEngine::kTravelGameStartAnswer, "", true},
    {"TravelPreStart", FromEngine::kTravelGamePreStart, "00 06",
     kinetra::kTravelGamePreStartCall.method, ToEngine::kTravelGamePreStartAnswer, "", true},
    {"TravelLevelStart", FromEngine::kTravelGameLevelStart, "00 06",
     kinetra::kTravelGameLevelStartCall.method, ToEngine::kTravelGameLevelStartAnswer, "", true},
};

std::string Narrow(const wchar_t* text) {
    return std::string(text, text + std::wcslen(text));
}

class GameTimeOut : public ::testing::TestWithParam<TimeOutCase> {};

TEST_P(GameTimeOut, AnswersOnlyWhereTheRequestHasNoTimeOutBranch) {
    const auto& c = GetParam();
    GameHarness game;
    game.Send(c.type, c.payload);
    auto tasks = game.TakeAll();
    ASSERT_EQ(tasks.size(), 1u);
    tasks[0].Answer(sim::Reply::TimeOut());
    ASSERT_TRUE(game.running.engine.WaitIdle());
    if (c.answerPayload.empty()) {
        EXPECT_EQ(game.running.engine.CountReceived(c.answer), 0u);
    } else {
        const auto answer = game.running.engine.WaitFor(c.answer);
        ASSERT_TRUE(answer);
        EXPECT_EQ(ToHex(answer->payload), Plain(c.answerPayload));
    }
    tasks.clear();
    const LogFile log = game.Unload();
    EXPECT_EQ(log.CountEndingWith(Narrow(c.method) + "::<lambda_1>::operator () time out"),
              c.logged ? 1u : 0u);
    EXPECT_EQ(log.CountEndingWith(" time out"), c.logged ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(EveryRequest, GameTimeOut, ::testing::ValuesIn(kTimeOuts), CaseName());

TEST(GameRequestWithoutSignalService, LogsAnErrorAndSendsNothing) {
    GameHarness game({sim::ServiceKind::signal});
    for (const auto& c : kRequests) {
        game.Send(c.type, c.payload);
    }
    EXPECT_TRUE(game.running.engine.Received().empty());
    const LogFile log = game.Unload();
    std::size_t errors = 0;
    for (const auto& line : log.lines) {
        if (line.text.starts_with("KinetraInteractiveGameLogic::") &&
            line.text.ends_with(" mSignalService is null")) {
            EXPECT_EQ(line.level, "err") << line.text;
            ++errors;
        }
    }
    // The crown end acts only for the crown game, whose id the case sends.
    EXPECT_EQ(errors, std::size(kRequests));
}

}  // namespace
}  // namespace game_test
