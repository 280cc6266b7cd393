// The game pushes through the real library: what reaches the engine, what reaches the log,
// and a stop while engine messages, pushes and replies arrive from several threads. The crown
// game's data push is pinned by the games scenario's trace.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "integration/game_harness.h"

namespace game_test {
namespace {

struct PushCase {
    const char* name;
    std::uint32_t uri;
    std::string payload;
    ToEngine message;
    std::string messagePayload;
};

const PushCase kPushes[] = {
    // The notice's int64 and byte vector change places.
    {"GameNotice", MERU::VirtualInteractiveGameNotice::kPushUri,
     "00 01 10 02 26 01 61 30 09 4d 00 00 01 ff", ToEngine::kGameNotice,
     "00 01 10 02 26 01 61 3d 00 00 01 ff 40 09"},
    // The push info itself, without the notice around it.
    {"Empowerment", MERU::VirtualTravelEmpowermentGameNotice::kPushUri,
     "0a 09 00 01 0a 00 05 16 01 6e 26 01 75 30 07 0b 10 03 26 02 74 36 30 01 40 02 50 03 66 01 "
     "73 0b",
     ToEngine::kTravelEmpowerment,
     "09 00 01 0a 00 05 16 01 6e 26 01 75 30 07 0b 10 03 26 02 74 36 30 01 40 02 50 03 66 01 73"},
};

class GamePush : public ::testing::TestWithParam<PushCase> {};

TEST_P(GamePush, ReachesTheEngineUntilTheStop) {
    const auto& c = GetParam();
    GameHarness game;
    game.Signal().Push(c.uri, Hex(c.payload));
    const auto message = game.running.engine.WaitFor(c.message);
    ASSERT_TRUE(message);
    EXPECT_EQ(ToHex(message->payload), Plain(c.messagePayload));

    game.Stop();
    game.Signal().Push(c.uri, Hex(c.payload));
    ASSERT_TRUE(game.Signal().WaitIdle(sim::SimEngine::kDefaultWait));
    ASSERT_TRUE(game.running.engine.WaitIdle());
    EXPECT_EQ(game.running.engine.CountReceived(c.message), 1u);
}

INSTANTIATE_TEST_SUITE_P(EveryPush, GamePush, ::testing::ValuesIn(kPushes), CaseName());

TEST(GuessWordsPush, SendsTheKeyWordsToTheEngineAndMasksThemInTheLog) {
    GameHarness game;
    MERU::VirtualTravelGuessWordsGameNotice notice;
    notice.tGuessWordsGamePushInfo.vKeyWordInfo = {{1, "apple", 10, 5, "ann", "u1", 1, 12},
                                                   {2, "go", 20, 6, "bob", "u2", 0, 22}};
    notice.tGuessWordsGamePushInfo.sGameTaskId = "t6";
    notice.tGuessWordsGamePushInfo.tHighestScorer = {6, "bob", "u2", 22, 2};
    game.Signal().Push(MERU::VirtualTravelGuessWordsGameNotice::kPushUri, notice);
    const auto message = game.running.engine.WaitFor(ToEngine::kTravelGuessWords);
    ASSERT_TRUE(message);
    EXPECT_EQ(ToHex(message->payload), ToHex(taf::toBytes(notice.tGuessWordsGamePushInfo)));

    const auto log = game.Unload();
    std::size_t lines = 0;
    for (const auto& line : log.lines) {
        EXPECT_EQ(line.text.find("apple"), std::string::npos) << line.text;
        EXPECT_EQ(line.text.find("\"go\""), std::string::npos) << line.text;
        if (line.text.starts_with(
                "KinetraInteractiveGameLogic::OnVirtualTravelGuessWordsGameNotice ")) {
            ++lines;
            EXPECT_NE(line.text.find("sKeyWord=\"*****\", iScore=10"), std::string::npos);
            EXPECT_NE(line.text.find("sKeyWord=\"*****\", iScore=20"), std::string::npos);
            EXPECT_NE(line.text.find("sGameTaskId=\"t6\""), std::string::npos);
        }
    }
    EXPECT_EQ(lines, 1u);
}

// A push damaged on the way (one byte replaced, every byte by every value below) can move
// key-word bytes into a field the log shows; none of them may reach the log, while the engine
// still gets what could be read of every push.
TEST(GuessWordsPush, DamagedPushesKeepTheKeyWordsOutOfTheLog) {
    MERU::VirtualTravelGuessWordsGameNotice notice;
    notice.tGuessWordsGamePushInfo.vKeyWordInfo = {{1, "apples", 10, 5, "ann", "u1", 1, 12},
                                                   {2, "quince", 20, 6, "bob", "u2", 0, 22}};
    notice.tGuessWordsGamePushInfo.sGameTaskId = "t6";
    notice.tGuessWordsGamePushInfo.tHighestScorer = {6, "bob", "u2", 22, 2};
    notice.tGuessWordsGamePushInfo.sNextScreenName = "s7";
    const taf::Bytes intact = taf::toBytes(notice);
    // 0x46 turns the head of a key word into that of a nickname: that push decodes without a
    // failure.
    const std::uint8_t replacements[] = {0x00, 0x01, 0x06, 0x09, 0x0a, 0x16, 0x46, 0x7f, 0xff};

    GameHarness game;
    std::size_t pushes = 0;
    for (std::size_t at = 0; at < intact.size(); ++at) {
        for (const std::uint8_t replacement : replacements) {
            taf::Bytes damaged = intact;
            damaged[at] = replacement;
            game.Signal().Push(MERU::VirtualTravelGuessWordsGameNotice::kPushUri, damaged);
            ++pushes;
        }
    }
    ASSERT_TRUE(game.Signal().WaitIdle(sim::SimEngine::kDefaultWait));
    ASSERT_TRUE(game.running.engine.WaitIdle());
    EXPECT_EQ(game.running.engine.CountReceived(ToEngine::kTravelGuessWords), pushes);

    std::vector<std::string> pieces;
    for (const std::string word : {"apples", "quince"}) {
        for (std::size_t at = 0; at + 4 <= word.size(); ++at) {
            pieces.push_back(word.substr(at, 4));
        }
    }
    const auto log = game.Unload();
    std::vector<std::string> texts = log.malformed;
    for (const auto& line : log.lines) {
        texts.push_back(line.text);
    }
    std::vector<std::string> leaks;
    for (const auto& text : texts) {
        if (std::ranges::any_of(
                pieces, [&](const auto& piece) { return text.find(piece) != std::string::npos; })) {
            leaks.push_back(text);
        }
    }
    EXPECT_TRUE(leaks.empty()) << leaks.size() << " lines, the first: " << leaks.front();
}

// Engine messages from two threads, pushes from two more and automatic replies on the
// signal service's thread, while the instance stops and the library is unloaded: clean
// under the sanitizers, and no push reaches the engine once the stop has unsubscribed.
TEST(GameStop, WhileMessagesPushesAndRepliesArriveFromSeveralThreads) {
    GameHarness game;
    for (const std::string_view function :
         {kinetra::kCrownGameStartCall.function, kinetra::kCrownGameEndCall.function,
          kinetra::kTravelGamePreStartCall.function, kinetra::kGameEndCall.function,
          kinetra::kGameHeartbeatCall.function}) {
        game.Signal().SetReply(std::string(kinetra::kGameServant), std::string(function),
                               sim::Reply::Fields(0, Hex("06 02 74 39")));
    }
    std::atomic<std::size_t> pushed{0};
    game.Signal().SetObserver([&](const sim::ServerTraffic& traffic) {
        if (traffic.kind == sim::ServerTraffic::Kind::push) {
            ++pushed;
        }
    });
    game.Signal().StartAutomatic({std::chrono::milliseconds(0), std::chrono::milliseconds(1)});
    const auto forwarded = [&] {
        return game.running.engine.CountReceived(ToEngine::kCrownGameData) +
               game.running.engine.CountReceived(ToEngine::kGameNotice);
    };
    std::atomic<bool> running{true};
    auto engine = [&](FromEngine start, FromEngine end) {
        for (std::int32_t id = 0; running; id = (id + 1) % 4) {
            game.running.engine.Send(FromEngine::kCurrentGame,
                                     Hex("00 0" + std::to_string(id) + " 16 01 74"));
            game.running.engine.Send(start, Hex("00 0" + std::to_string(id)));
            game.running.engine.Send(FromEngine::kGameHeartbeat, Hex("00 02"));
            game.running.engine.Send(end, Hex("00 0" + std::to_string(id)));
        }
    };
    auto pushes = [&](std::uint32_t uri) {
        while (running) {
            game.Signal().Push(uri, Hex(""));
            std::this_thread::yield();
        }
    };
    std::vector<std::thread> threads;
    threads.emplace_back(engine, FromEngine::kCrownGameStart, FromEngine::kCrownGameEnd);
    threads.emplace_back(engine, FromEngine::kTravelGamePreStart, FromEngine::kGameEnd);
    threads.emplace_back(pushes, MERU::VirtualCrownGameDataNotify::kPushUri);
    threads.emplace_back(pushes, MERU::VirtualInteractiveGameNotice::kPushUri);
    ASSERT_TRUE(game.running.engine.WaitFor(ToEngine::kCrownGameData));
    ASSERT_TRUE(game.running.engine.WaitFor(ToEngine::kGameHeartbeatAnswer));

    game.Stop();
    const std::size_t afterStop = forwarded();
    const std::size_t pushedAtStop = pushed;
    for (int i = 0; i < 30000 && pushed < pushedAtStop + 100; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_GE(pushed, pushedAtStop + 100);
    // At most the one delivery under way when the stop unsubscribed.
    EXPECT_LE(forwarded(), afterStop + 1);

    game.running.plugin.DestroyModule();
    game.running.plugin.Unload();
    running = false;
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(game.running.engine.Listeners(), 0u);
}

}  // namespace
}  // namespace game_test
