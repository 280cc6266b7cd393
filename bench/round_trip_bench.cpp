// One engine request through the plug-in, end to end: the engine's update query in, dispatch,
// the server task encoded, the server's reply decoded, the engine's answer out. Everything runs
// on the benchmark's thread: the message is handed to the instance as the channel's thread
// would hand it, and the plug-in's answer reaches a receiver that only counts.
//
// Two hosts carry the task. The wire host does what the host's connection must and no more
// (encode the task, take its bytes, hand back the reply), so its row is the plug-in's own work;
// it counts the processor time of the whole process, so the log writer's share is in it too.
// The simulator's signal service also records every call and decodes the request for
// inspection; its row is there to show what the stand-ins add to the traces the tools print.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "allocation_counter.h"
#include "answers_account.h"
#include "core/logger.h"
#include "host/sim_host.h"
#include "plugin/engine_messages.h"
#include "plugin/host_registry.h"
#include "plugin/kinetra_service_plugin_impl.h"
#include "plugin/plugin_names.h"
#include "plugin_msg/engine_endpoint.h"
#include "support/server_identity.h"
#include "taf/records/engine_envelope.h"
#include "taf/records/update_info.h"

namespace {

namespace fs = std::filesystem;

struct EngineInbox {
    std::size_t count = 0;
    std::string last;

    static void Receive(void* context, const char*, const char* data, std::uint32_t size) {
        auto& inbox = *static_cast<EngineInbox*>(context);
        ++inbox.count;
        inbox.last.assign(data, size);
    }
};

// The host's connection with nothing around it: one task in flight, its frame taken as the
// host would copy it to the socket, and the reply handed back on the caller's thread.
class WireSignalService : public service_plugin::ISignalService {
public:
    explicit WireSignalService(const sim::HostAnswers& answers)
        : mAnswers(answers), mAccount(answers) {}

    service_plugin::LLString GetGuid() override {
        return service_plugin::LLString(mAnswers.guid.c_str());
    }
    service_plugin::LLString GetUserAgent() override {
        return service_plugin::LLString(mAnswers.ua.c_str());
    }
    service_plugin::IAccount* GetAccount() override { return &mAccount; }
    void SendTask(service_plugin::SignalTafTask* task) override { mTask = task; }
    void AddPushHandler(std::uint32_t, service_plugin::SignalNotifyStub*) override {}
    void RemovePushHandler(std::uint32_t, service_plugin::SignalNotifyStub*) override {}

    // Sends the task in flight and answers it with `reply`; false when there was none to send.
    bool Exchange(const taf::Bytes& reply) {
        service_plugin::SignalTafTask* task = std::exchange(mTask, nullptr);
        if (task == nullptr || !task->Encode(this) || task->GetData() == nullptr) {
            return false;
        }
        mSentBytes += task->GetDataSize();
        task->OnResponse(reinterpret_cast<const char*>(reply.data()), reply.size(), 0, 0);
        task->OnCallback();
        task->Release();
        return true;
    }
    service_plugin::SignalTafTask* Take() { return std::exchange(mTask, nullptr); }
    std::uint64_t SentBytes() const { return mSentBytes; }

private:
    const sim::HostAnswers& mAnswers;
    bench_support::AnswersAccount mAccount;
    service_plugin::SignalTafTask* mTask = nullptr;
    std::uint64_t mSentBytes = 0;
};

taf::Bytes UpdateQuery() {
    MeruKinetra::UpdateInfoReqMsg query;
    query.mpParam = {{"version", "1.2.3"}, {"channel", "stable"}};
    MeruKinetra::EngineMessage message;
    message.type = kinetra::number(kinetra::FromEngine::kUpdateInfoRequest);
    message.payload = taf::toBytes(query);
    return taf::toBytes(message);
}

MERU::GetMobileUpdateInfoRsp ServerAnswer() {
    MERU::GetMobileUpdateInfoRsp answer;
    answer.sField2 = "https://example.invalid/update";
    answer.sField3 = "notes";
    answer.iField7 = 42;
    answer.vField11 = {"a", "b"};
    return answer;
}

// The loaded plug-in with its log in a file at the host's threshold, started on a host whose
// signal service is either the simulator's or the wire host.
class RoundTripRig {
public:
    explicit RoundTripRig(bool onWire)
        : mFolder(fs::temp_directory_path() / "kinetra_bench_round_trip"),
          mHost(mAnswers),
          mWire(mAnswers) {
        fs::create_directories(mFolder);
        core::init_logger((mFolder / "KinetraService.log").wstring(), core::level_inf);
        if (onWire) {
            mHost.Registration().Provide("service_signal", "plugin:signal",
                                         static_cast<service_plugin::ISignalService*>(&mWire));
        }
        kinetra::SetHostRegistry(mHost.Registry());
        GetPluginMsgEngineEndpoint()->SetReceiver(&EngineInbox::Receive, &mInbox);
        mInstance = kinetra::KinetraServicePluginImpl::Create();
        mInstance->Start();
        // The start's own requests go unanswered.
        while (mHost.Signal().TakeTask()) {
        }
        if (auto* task = mWire.Take()) {
            task->Release();
        }
    }

    ~RoundTripRig() {
        mInstance->Stop();
        mInstance->Uninit();
        GetPluginMsgEngineEndpoint()->SetReceiver(nullptr, nullptr);
        core::uninit_logger();
        fs::remove_all(mFolder);
    }

    void Query() {
        mInstance->OnMsg(kinetra::kEngineChannelName, reinterpret_cast<const char*>(mQuery.data()),
                         static_cast<std::uint32_t>(mQuery.size()));
    }

    // The server's reply frame, built once from the request the first query sends.
    taf::Bytes ReplyFrame(service_plugin::SignalTafTask& task) {
        sim::CallLog calls;
        const sim::SentRequest request = sim::EncodeTask(task, &mWire, calls);
        return sim::ReplyFrame(request, sim::Reply::Of(0, ServerAnswer()), 1);
    }

    // One update answer per query, and the last one readable.
    bool Answered(std::int64_t queries) const {
        MeruKinetra::EngineMessage answer;
        MeruKinetra::UpdateInfoMsg update;
        const taf::Bytes last(mInbox.last.begin(), mInbox.last.end());
        return mInbox.count == static_cast<std::size_t>(queries) &&
               taf::fromBytes(last, answer) == taf::kOk &&
               taf::fromBytes(answer.payload, update) == taf::kOk &&
               answer.type == kinetra::number(kinetra::ToEngine::kUpdateInfo);
    }

    void ResetInbox() { mInbox.count = 0; }
    sim::SimHost& Host() { return mHost; }
    WireSignalService& Wire() { return mWire; }

private:
    fs::path mFolder;
    sim::HostAnswers mAnswers = testing_support::ServerIdentity();
    sim::SimHost mHost;
    WireSignalService mWire;
    EngineInbox mInbox;
    std::shared_ptr<kinetra::KinetraServicePluginImpl> mInstance;
    taf::Bytes mQuery = UpdateQuery();
};

void UpdateQueryRoundTripOnWire(benchmark::State& state) {
    state.SetLabel("Round trip: engine update query to the engine's answer, the plug-in's work");
    RoundTripRig rig(true);
    rig.Query();
    service_plugin::SignalTafTask* first = rig.Wire().Take();
    if (first == nullptr) {
        state.SkipWithError("the update query sent no request");
        return;
    }
    const taf::Bytes reply = rig.ReplyFrame(*first);
    first->OnResponse(reinterpret_cast<const char*>(reply.data()), reply.size(), 0, 0);
    first->OnCallback();
    first->Release();
    rig.ResetInbox();

    bool exchanged = true;
    const bench::AllocationTotals before = bench::AllocationsSoFar();
    for (auto _ : state) {
        rig.Query();
        exchanged &= rig.Wire().Exchange(reply);
    }
    const bench::AllocationTotals after = bench::AllocationsSoFar();
    if (!exchanged || !rig.Answered(state.iterations())) {
        state.SkipWithError("the engine did not get one update answer per query");
    }
    state.counters["allocs"] = benchmark::Counter(static_cast<double>(after.blocks - before.blocks),
                                                  benchmark::Counter::kAvgIterations);
    state.counters["sent_bytes"] = benchmark::Counter(static_cast<double>(rig.Wire().SentBytes()),
                                                      benchmark::Counter::kAvgIterations);
}

void UpdateQueryRoundTripWithSim(benchmark::State& state) {
    state.SetLabel("Round trip: the same, through the simulator's recording signal service");
    RoundTripRig rig(false);
    rig.Query();
    auto first = rig.Host().Signal().TakeTask();
    if (!first) {
        state.SkipWithError("the update query sent no request");
        return;
    }
    const sim::Reply reply =
        sim::Reply::Raw(sim::ReplyFrame(first->Request(), sim::Reply::Of(0, ServerAnswer()), 1));
    first->Answer(reply);
    rig.ResetInbox();

    for (auto _ : state) {
        rig.Query();
        rig.Host().Signal().TakeTask()->Answer(reply);
    }
    if (!rig.Answered(state.iterations())) {
        state.SkipWithError("the engine did not get one update answer per query");
    }
}

BENCHMARK(UpdateQueryRoundTripOnWire)
    ->Name("UpdateQueryRoundTrip/plugin")
    ->Iterations(20000)
    ->MeasureProcessCPUTime();
BENCHMARK(UpdateQueryRoundTripWithSim)->Name("UpdateQueryRoundTrip/with_sim")->Iterations(20000);

}  // namespace
