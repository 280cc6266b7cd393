// The push table: what it registers with the host and what it takes back, always by object.
// One engine subscription per URI beside the games' own, and an unsubscribe that removes only
// the engine's, are pinned by the push_subscriptions scenario's trace.
#include "signal/push_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "signal/signal_push.h"

namespace {

using Meru::PushTable;
using Origin = PushTable::Origin;
using Added = PushTable::Added;
using Handler = service_plugin::SignalNotifyStub;

// Keeps the handlers as a host does and fails a test on a removal that names no handler it
// holds.
class RecordingSignal : public service_plugin::ISignalService {
public:
    service_plugin::LLString GetGuid() override { return {}; }
    service_plugin::LLString GetUserAgent() override { return {}; }
    service_plugin::IAccount* GetAccount() override { return nullptr; }
    void SendTask(service_plugin::SignalTafTask*) override {}
    void AddPushHandler(std::uint32_t uri, Handler* handler) override {
        ++adds;
        held.emplace_back(uri, handler);
    }
    void RemovePushHandler(std::uint32_t uri, Handler* handler) override {
        ++removes;
        const auto found = std::ranges::find(held, std::pair{uri, handler});
        ASSERT_NE(found, held.end()) << "removed a handler not held, uri " << uri;
        held.erase(found);
    }

    int adds = 0;
    int removes = 0;
    std::vector<std::pair<std::uint32_t, Handler*>> held;
};

std::unique_ptr<Handler> RawHandler(std::uint32_t uri) {
    return std::make_unique<Meru::SignalPushFactory<taf::Bytes>>(
        uri, [](const taf::Bytes&, std::int32_t) {});
}

TEST(PushTable, RefusesEngineUrisBeyondTheLimitUntilOneIsRemoved) {
    RecordingSignal signal;
    PushTable table;
    table.Open(&signal);
    for (std::uint32_t uri = 0; uri < PushTable::kMaxEngineUris; ++uri) {
        ASSERT_EQ(table.Add(Origin::engine, uri, RawHandler(uri)), Added::added);
    }
    EXPECT_EQ(table.Add(Origin::engine, 9999, RawHandler(9999)), Added::full);
    EXPECT_EQ(table.Add(Origin::fixed, 1400, RawHandler(1400)), Added::added);
    EXPECT_EQ(signal.adds, static_cast<int>(PushTable::kMaxEngineUris) + 1);
    ASSERT_TRUE(table.Remove(Origin::engine, 3));
    EXPECT_EQ(table.Add(Origin::engine, 9999, RawHandler(9999)), Added::added);
}

TEST(PushTable, CloseAndDestructionTakeEveryHandlerBackAndAClosedTableTakesNone) {
    RecordingSignal signal;
    {
        PushTable table;
        EXPECT_EQ(table.Add(Origin::fixed, 1400, RawHandler(1400)), Added::closed);
        table.Open(&signal);
        table.Add(Origin::fixed, 1400, RawHandler(1400));
        table.Add(Origin::engine, 1400, RawHandler(1400));
        table.Close();
        EXPECT_TRUE(signal.held.empty());
        EXPECT_EQ(table.Add(Origin::engine, 5, RawHandler(5)), Added::closed);

        table.Open(&signal);
        table.Add(Origin::engine, 5, RawHandler(5));
        table.Open(nullptr);  // the handler held stays with its service
        EXPECT_EQ(signal.held.size(), 1u);
    }
    EXPECT_TRUE(signal.held.empty());
    EXPECT_EQ(signal.adds, signal.removes);

    PushTable none;
    none.Open(nullptr);
    EXPECT_EQ(none.Add(Origin::fixed, 1400, RawHandler(1400)), Added::closed);
}

}  // namespace
