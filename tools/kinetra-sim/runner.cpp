#include "kinetra-sim/runner.h"

#include <filesystem>
#include <thread>

#include "core/logger.h"
#include "core/text.h"
#include "engine/sim_engine.h"
#include "host/plugin_host.h"
#include "plugin/plugin_names.h"

namespace kinetra_sim {
namespace {

// The plug-in only writes its log into a folder that exists, as an installer leaves it.
std::string PrepareLogFolder() {
    const std::filesystem::path log(core::default_log_path());
    std::error_code ignored;
    std::filesystem::create_directories(log.parent_path(), ignored);
    return core::WideToUtf8(log.wstring());
}

// The servers answer on their own thread from the scenario's replies; the rest time out.
void StartServer(const Scenario& scenario, sim::SimSignalService& signal) {
    for (const auto& reply : scenario.replies) {
        signal.SetReply(reply.servant, reply.function, reply.reply);
    }
    signal.StartAutomatic(scenario.timing);
}

void RunSteps(const Scenario& scenario, sim::SimEngine& engine, sim::SimHost& host) {
    auto& signal = host.Signal();
    for (const Step& step : scenario.steps) {
        if (const auto* message = std::get_if<EngineStep>(&step)) {
            engine.Send(message->type, message->payload, message->channel);
            // The next step starts once the plug-in has handled this message.
            engine.WaitIdle();
        } else if (const auto* push = std::get_if<PushStep>(&step)) {
            signal.Push(push->uri, push->payload);
            signal.WaitIdle(kQuietPeriod * 50);
        } else if (const auto* audio = std::get_if<AudioStep>(&step)) {
            // Delivered on the audio service's own thread, every call before the next step.
            host.Audio().Deliver(audio->delivery);
            host.Audio().WaitIdle();
        } else {
            std::this_thread::sleep_for(std::get<WaitStep>(step).duration);
        }
    }
}

// Quiet: nothing moved for a while and no request waits for its answer or time-out.
void WaitUntilQuiet(const Trace& trace, const sim::SimSignalService& signal) {
    while (std::chrono::steady_clock::now() - trace.LastMove() < kQuietPeriod ||
           signal.PendingTasks() > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace

int RunScenario(const Scenario& scenario, const std::string& libraryPath, Trace& trace,
                std::ostream& messages) {
    const std::string logPath = PrepareLogFolder();
    sim::SimHost host(scenario.answers, scenario.absent);
    sim::SimEngine engine;
    engine.SetObserver([&trace](const sim::EngineTraffic& traffic) { trace.Record(traffic); });
    host.Signal().SetObserver(
        [&trace](const sim::ServerTraffic& traffic) { trace.Record(traffic); });
    StartServer(scenario, host.Signal());
    int exitCode = 0;
    {
        sim::PluginHost plugin(host);
        std::string error;
        if (!plugin.Load(libraryPath, error)) {
            messages << "kinetra-sim: cannot load " << libraryPath << ": " << error << "\n";
            exitCode = 1;
        } else if (auto* module = plugin.BuildModule(kinetra::kModuleName); module == nullptr) {
            messages << "kinetra-sim: the library registered no " << kinetra::kModuleName
                     << " module\n";
            exitCode = 1;
        } else if (auto* instance = module->GetInstance(kinetra::kInstanceName);
                   instance == nullptr) {
            messages << "kinetra-sim: the module made no " << kinetra::kInstanceName
                     << " instance\n";
            exitCode = 1;
        } else {
            instance->Start();
            // What the start asks of the servers is settled before the first step, so that
            // traces come out in one order.
            WaitUntilQuiet(trace, host.Signal());
            RunSteps(scenario, engine, host);
            WaitUntilQuiet(trace, host.Signal());
            // Each stop's requests are answered or time out while the library is still loaded.
            instance->Stop();
            WaitUntilQuiet(trace, host.Signal());
            instance->Uninit();
            WaitUntilQuiet(trace, host.Signal());
            plugin.DestroyModule();
            WaitUntilQuiet(trace, host.Signal());
        }
    }
    engine.SetObserver(nullptr);
    host.Signal().SetObserver(nullptr);
    messages << "kinetra-sim: the plug-in's log is " << logPath << "\n";
    return exitCode;
}

}  // namespace kinetra_sim
