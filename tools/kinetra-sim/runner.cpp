#include "kinetra-sim/runner.h"

#include <filesystem>
#include <thread>

#include "core/logger.h"
#include "core/text.h"
#include "engine/sim_engine.h"
#include "host/plugin_host.h"
#include "plugin/plugin_names.h"

namespace kinetra_sim {

std::string PrepareLogFolder() {
    const std::filesystem::path log(core::default_log_path());
    std::error_code ignored;
    std::filesystem::create_directories(log.parent_path(), ignored);
    return core::WideToUtf8(log.wstring());
}

namespace {

// The servers answer on their own thread from the scenario's replies; the rest time out.
void StartServer(const Scenario& scenario, sim::SimSignalService& signal) {
    for (const auto& reply : scenario.replies) {
        signal.SetReply(reply.servant, reply.function, reply.reply);
    }
    signal.StartAutomatic(scenario.timing);
}

// Quiet: nothing moved for a while and no request waits for its answer or time-out.
void WaitUntilQuiet(const Trace& trace, const sim::SimSignalService& signal) {
    while (std::chrono::steady_clock::now() - trace.LastMove() < kQuietPeriod ||
           signal.PendingTasks() > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// Holds the servers' replies for a scope: what the plug-in does in it comes out in one order
// however long it takes.
class HeldReplies {
public:
    explicit HeldReplies(sim::SimSignalService& signal) : mSignal(signal) {
        mSignal.HoldReplies(true);
    }
    ~HeldReplies() { mSignal.HoldReplies(false); }
    HeldReplies(const HeldReplies&) = delete;
    HeldReplies& operator=(const HeldReplies&) = delete;

private:
    sim::SimSignalService& mSignal;
};

// Runs one step and waits until what it set off has been handled, so that traces come out in
// one order.
class StepRunner {
public:
    StepRunner(sim::SimEngine& engine, sim::SimHost& host, sim::PluginHost& plugin,
               service_plugin::PluginInstance& instance, Trace& trace, std::ostream& messages)
        : mEngine(engine),
          mHost(host),
          mPlugin(plugin),
          mInstance(&instance),
          mTrace(trace),
          mMessages(messages) {}

    // An expectation looks at what came since the last step that acted: neither an expectation
    // nor a wait, so that "send, wait until quiet, expect" expects what the sending set off.
    void Run(const Step& step) {
        if (!std::holds_alternative<ExpectStep>(step) && !std::holds_alternative<WaitStep>(step)) {
            mStepStart = mTrace.Events().Size();
        }
        std::visit(*this, step);
    }
    bool ExpectationsHeld() const { return mExpectationsHeld; }

    // Null once the host has released the module; later start and stop steps find no instance.
    service_plugin::PluginInstance* Instance() const { return mInstance; }

    void operator()(const EngineStep& message) {
        // The servers answer once the plug-in has handled the message, so that a slow machine
        // gives the same trace; the next step starts then too.
        HeldReplies hold(mHost.Signal());
        mEngine.Send(message.type, message.payload, message.channel);
        mEngine.WaitIdle();
    }
    void operator()(const PushStep& push) {
        mHost.Signal().Push(push.uri, push.payload);
        mHost.Signal().WaitIdle(kQuietPeriod * 50);
    }
    void operator()(const AudioStep& audio) {
        // Delivered on the audio service's own thread, every call before the next step. The
        // plug-in sends the blocks from a thread of its own, so a wait for quiet after the step
        // counts from its end.
        mHost.Audio().Deliver(audio.delivery);
        mHost.Audio().WaitIdle();
        mTrace.Moved();
    }
    void operator()(const LiveStep& live) {
        mHost.Live().RaiseOnOwnThread(live.started);
        mHost.Live().WaitIdle();
    }
    void operator()(const DialogStep& dialog) {
        mHost.Presenter().AnswerDialogOnOwnThread(dialog.result);
        mHost.Presenter().WaitIdle();
    }
    void operator()(const InstanceStep& step) {
        {
            HeldReplies hold(mHost.Signal());
            if (mInstance == nullptr) {
                return;
            }
            switch (step.action) {
                case InstanceStep::Action::start:
                    mInstance->Start();
                    break;
                case InstanceStep::Action::stop:
                    mInstance->Stop();
                    break;
                case InstanceStep::Action::release:
                    mPlugin.ReleaseModule();
                    mInstance = nullptr;
                    break;
            }
        }
        // What the start or stop asks of the servers is answered before the next step.
        WaitUntilQuiet(mTrace, mHost.Signal());
    }
    void operator()(const WaitStep& wait) {
        if (wait.untilQuiet) {
            WaitUntilQuiet(mTrace, mHost.Signal());
        } else {
            std::this_thread::sleep_for(wait.duration);
        }
    }
    void operator()(const ExpectStep& expect) {
        if (!CheckExpectation(expect, mTrace.Events(), mStepStart, mMessages)) {
            mExpectationsHeld = false;
        }
    }
    void operator()(const RepeatStep& repeat) {
        for (std::uint32_t round = 0; round < repeat.count; ++round) {
            for (const Step& step : repeat.steps) {
                Run(step);
            }
        }
    }

private:
    sim::SimEngine& mEngine;
    sim::SimHost& mHost;
    sim::PluginHost& mPlugin;
    service_plugin::PluginInstance* mInstance;
    Trace& mTrace;
    std::ostream& mMessages;
    std::size_t mStepStart = 0;
    bool mExpectationsHeld = true;
};

}  // namespace

int RunScenario(const Scenario& scenario, const std::string& libraryPath, Trace& trace,
                std::ostream& messages) {
    const std::string logPath = PrepareLogFolder();
    trace.Begin();
    sim::SimHost host(scenario.answers, scenario.absent);
    sim::SimEngine engine;
    engine.SetObserver([&trace](const sim::EngineTraffic& traffic) { trace.Record(traffic); });
    host.Signal().SetObserver(
        [&trace](const sim::ServerTraffic& traffic) { trace.Record(traffic); });
    host.State().SetCallObserver([&trace](const sim::HostCall& call) { trace.Record(call); });
    host.State().SetErrorObserver([&trace](const sim::HostError& error) { trace.Record(error); });
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
            {
                HeldReplies hold(host.Signal());
                instance->Start();
            }
            // What the start asks of the servers is settled before the first step, so that
            // traces come out in one order.
            WaitUntilQuiet(trace, host.Signal());
            StepRunner run(engine, host, plugin, *instance, trace, messages);
            for (const Step& step : scenario.steps) {
                run.Run(step);
            }
            exitCode = run.ExpectationsHeld() ? 0 : kExpectationFailed;
            WaitUntilQuiet(trace, host.Signal());
            // Each stop's requests are answered or time out while the library is still loaded.
            if (run.Instance() != nullptr) {
                instance->Stop();
                WaitUntilQuiet(trace, host.Signal());
                instance->Uninit();
                WaitUntilQuiet(trace, host.Signal());
                plugin.DestroyModule();
                WaitUntilQuiet(trace, host.Signal());
            }
        }
    }
    engine.SetObserver(nullptr);
    host.Signal().SetObserver(nullptr);
    host.State().SetCallObserver(nullptr);
    host.State().SetErrorObserver(nullptr);
    messages << "kinetra-sim: the plug-in's log is " << logPath << "\n";
    return exitCode;
}

}  // namespace kinetra_sim
