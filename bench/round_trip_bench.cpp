// One engine request through the plug-in, end to end: the engine's update query in, dispatch,
// the server task encoded, the server's reply decoded, the engine's answer out. Everything runs
// on the benchmark's thread: the message is handed to the instance as the channel's thread
// would hand it, the simulated signal service is in step mode, and the plug-in's answer reaches
// a receiver that only counts. What the stand-ins still do inside the timed loop (recording the
// calls, reading the request back for inspection) is part of the time; docs/performance.md
// gives its share.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "core/logger.h"
#include "host/sim_host.h"
#include "plugin/engine_messages.h"
#include "plugin/host_registry.h"
#include "plugin/kinetra_service_plugin_impl.h"
#include "plugin/plugin_names.h"
#include "plugin_msg/engine_endpoint.h"
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

sim::HostAnswers Identity() {
    sim::HostAnswers answers;
    answers.uid = 1234567890123;
    answers.guid = "guid-1";
    answers.ua = "client/1.0";
    answers.token = "secret-token";
    answers.tokenType = 3;
    return answers;
}

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

void UpdateQueryRoundTrip(benchmark::State& state) {
    state.SetLabel("Round trip: engine update query to the engine's answer");
    const fs::path folder = fs::temp_directory_path() / "kinetra_bench_round_trip";
    fs::create_directories(folder);
    // The plug-in logs as it does in the host: threshold 1, into a file.
    core::init_logger((folder / "KinetraService.log").wstring(), core::level_inf);
    sim::SimHost host(Identity());
    kinetra::SetHostRegistry(host.Registry());
    EngineInbox inbox;
    GetPluginMsgEngineEndpoint()->SetReceiver(&EngineInbox::Receive, &inbox);
    const auto instance = kinetra::KinetraServicePluginImpl::Create();
    instance->Start();
    while (host.Signal().TakeTask()) {
        // The start's own requests go unanswered.
    }
    const taf::Bytes query = UpdateQuery();
    const auto* data = reinterpret_cast<const char*>(query.data());
    const auto size = static_cast<std::uint32_t>(query.size());

    // The reply frame is encoded once, from the first request; the server's side costs nothing.
    instance->OnMsg(kinetra::kEngineChannelName, data, size);
    auto first = host.Signal().TakeTask();
    if (!first) {
        state.SkipWithError("the update query sent no request");
        return;
    }
    const sim::Reply reply =
        sim::Reply::Raw(sim::ReplyFrame(first->Request(), sim::Reply::Of(0, ServerAnswer()), 1));
    first->Answer(reply);
    inbox.count = 0;

    for (auto _ : state) {
        instance->OnMsg(kinetra::kEngineChannelName, data, size);
        host.Signal().TakeTask()->Answer(reply);
    }

    MeruKinetra::EngineMessage answer;
    MeruKinetra::UpdateInfoMsg update;
    const taf::Bytes last(inbox.last.begin(), inbox.last.end());
    const bool read = taf::fromBytes(last, answer) == taf::kOk &&
                      taf::fromBytes(answer.payload, update) == taf::kOk;
    if (inbox.count != static_cast<std::size_t>(state.iterations()) || !read ||
        answer.type != kinetra::number(kinetra::ToEngine::kUpdateInfo)) {
        state.SkipWithError("the engine did not get one update answer per query");
    }
    instance->Stop();
    instance->Uninit();
    GetPluginMsgEngineEndpoint()->SetReceiver(nullptr, nullptr);
    core::uninit_logger();
    fs::remove_all(folder);
}

BENCHMARK(UpdateQueryRoundTrip)->Iterations(20000);

}  // namespace
