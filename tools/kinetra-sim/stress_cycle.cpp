#include "kinetra-sim/stress_cycle.h"

#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/sim_engine.h"
#include "host/plugin_host.h"
#include "host/process_probe.h"
#include "kinetra-sim/stress_traffic.h"
#include "plugin/plugin_names.h"

namespace kinetra_sim {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Longer than any time-out the run gives the servers, under a sanitizer too.
constexpr milliseconds kDrainLimit{20000};
// Sends between waits for the channel, so the flood does not outrun the plug-in without bound.
constexpr int kBurst = 32;

// Waits until the servers hold no request and their thread has nothing left to run.
bool Drain(sim::SimHost& host) {
    const auto until = Clock::now() + kDrainLimit;
    while (Clock::now() < until) {
        if (host.Signal().PendingTasks() == 0 && host.Signal().WaitIdle(milliseconds(50))) {
            return true;
        }
    }
    return host.Signal().PendingTasks() == 0;
}

sim::HostAnswers StressAnswers(StressRandom& random) {
    sim::HostAnswers answers;
    answers.uid = static_cast<std::int64_t>(random.Between(1, 1u << 30));
    answers.guid = random.Text();
    answers.ua = random.Text();
    answers.token = random.Secret();
    answers.tokenType = 1;
    answers.userValue = random.Number();
    answers.userText1 = random.Text();
    answers.userText2 = random.Text();
    answers.gameId = static_cast<std::int32_t>(random.Between(0, 3));
    answers.liveId = random.Chance(0.5) ? random.Number() : 0;
    answers.clientVersion = random.Text();
    answers.camera = {random.Text(), random.Text(), {0, 0}, {1, 1}};
    return answers;
}

// Time-outs, empty records (every field at its default), random fields and broken frames.
sim::Reply RandomReply(StressRandom& random) {
    switch (random.Between(0, 3)) {
        case 0:
            return sim::Reply::TimeOut();
        case 1:
            return sim::Reply::Fields(0, {});
        case 2:
            return sim::Reply::Fields(static_cast<std::int32_t>(random.Number()),
                                      random.RandomBytes(24));
        default:
            return sim::Reply::Raw(random.RandomBytes(48));
    }
}

sim::AudioDelivery RandomAudio(StressRandom& random) {
    sim::AudioDelivery audio;
    audio.kind = static_cast<std::int32_t>(random.Between(0, 3));
    audio.frames = static_cast<std::uint32_t>(random.Between(0, 2048));
    audio.calls = static_cast<std::uint32_t>(random.Between(1, 3));
    audio.toneHz = random.Chance(0.5) ? 440 : 0;
    audio.nullFrame = random.Chance(0.05);
    return audio;
}

// The threads that drive the plug-in at once: two engines' worth of messages, the servers'
// pushes, and the host's audio, live events and dialog answers.
class Drivers {
public:
    Drivers(const CycleSettings& settings, sim::SimEngine& engine, sim::SimHost& host) {
        for (std::uint64_t index = 0; index < 2; ++index) {
            Start(settings, index, [&engine](StressRandom& random, int round) {
                const EngineShot shot = RandomEngineMessage(random);
                if (random.Chance(0.01)) {
                    engine.SendEnvelope(random.RandomBytes(24));
                } else {
                    engine.Send(shot.type, shot.payload,
                                shot.channel.empty() ? sim::SimEngine::kChannel : shot.channel);
                }
                if (round % kBurst == 0) {
                    engine.WaitIdle();
                }
            });
        }
        Start(settings, 2, [&host](StressRandom& random, int) {
            const PushShot push = RandomPush(random);
            host.Signal().Push(push.uri, push.payload);
            std::this_thread::sleep_for(milliseconds(1));
        });
        Start(settings, 3, [&host](StressRandom& random, int) {
            switch (random.Between(0, 3)) {
                case 0:
                    host.Live().RaiseOnOwnThread(random.Chance(0.5));
                    break;
                case 1:
                    host.Presenter().AnswerDialogOnOwnThread(
                        static_cast<std::uint32_t>(random.Number()));
                    break;
                default:
                    host.Audio().Deliver(RandomAudio(random));
                    break;
            }
            std::this_thread::sleep_for(milliseconds(random.Between(1, 3)));
        });
    }
    ~Drivers() { Stop(); }
    Drivers(const Drivers&) = delete;
    Drivers& operator=(const Drivers&) = delete;

    void Stop() {
        mStop = true;
        for (auto& thread : mThreads) {
            if (thread.joinable()) {
                thread.join();
            }
        }
    }

private:
    void Start(const CycleSettings& settings, std::uint64_t index,
               std::function<void(StressRandom&, int)> step) {
        mThreads.emplace_back([this, seed = settings.seed * 8 + index,
                               marker = settings.secretMarker, step = std::move(step)] {
            StressRandom random(seed, marker);
            for (int round = 1; !mStop; ++round) {
                step(random, round);
            }
        });
    }

    std::atomic<bool> mStop{false};
    std::vector<std::thread> mThreads;
};

// The host's own thread meanwhile: the instance stopped and started again now and then.
void ToggleInstance(service_plugin::PluginInstance& instance, StressRandom& random,
                    Clock::time_point until) {
    bool running = true;
    while (Clock::now() < until) {
        std::this_thread::sleep_for(milliseconds(random.Between(50, 250)));
        if (running) {
            instance.Stop();
        } else {
            instance.Start();
        }
        running = !running;
    }
}

// Answers given after the instance was stopped and released: the dialogs still open and a
// push under every URI the engine might have asked for. None may reach a freed object.
void AnswerLate(sim::SimHost& host, StressRandom& random) {
    while (host.Presenter().AnswerDialog(static_cast<std::uint32_t>(random.Number()))) {
    }
    for (int push = 0; push < 8; ++push) {
        const PushShot shot = RandomPush(random);
        host.Signal().Push(shot.uri, shot.payload);
    }
}

struct Cycle {
    Cycle(const CycleSettings& cycleSettings, TrafficLedger& cycleLedger)
        : settings(cycleSettings), ledger(cycleLedger) {}

    const CycleSettings& settings;
    TrafficLedger& ledger;
    StressRandom random{settings.seed, settings.secretMarker};
    sim::SimHost host{StressAnswers(random)};
    sim::SimEngine engine;
    std::mutex replyMutex;
    StressRandom replyRandom{settings.seed ^ 0x5eed, settings.secretMarker};

    // What the services found still registered after the unload, one count per handler or
    // listener: each would be called after its object was freed.
    std::mutex leftMutex;
    std::map<std::string, int> left;

    Broken Run();
    Broken Drained(sim::PluginHost& plugin, service_plugin::PluginInstance& instance);
    Broken LeftRegistered();
};

Broken Cycle::Run() {
    engine.SetObserver([this](const sim::EngineTraffic& traffic) { ledger.Engine(traffic); });
    host.State().SetErrorObserver([this](const sim::HostError& error) {
        std::lock_guard lock(leftMutex);
        ++left[error.error];
    });
    host.Signal().SetObserver(
        [this](const sim::ServerTraffic& traffic) { ledger.Server(traffic); });
    host.Signal().SetResponder([this](const sim::SentRequest&) {
        std::lock_guard lock(replyMutex);
        return RandomReply(replyRandom);
    });
    host.Signal().StartAutomatic(
        {milliseconds(random.Between(0, 40)), milliseconds(random.Between(60, 200))});

    sim::PluginHost plugin(host);
    std::string error;
    if (!plugin.Load(settings.library, error)) {
        return "library: cannot load " + settings.library + ": " + error;
    }
    auto* module = plugin.BuildModule(kinetra::kModuleName);
    auto* instance = module != nullptr ? module->GetInstance(kinetra::kInstanceName) : nullptr;
    if (instance == nullptr) {
        return std::string("library: no ") + kinetra::kInstanceName + " instance";
    }
    instance->Start();
    Drivers drivers(settings, engine, host);
    ToggleInstance(*instance, random, Clock::now() + settings.length);
    if (!settings.abrupt) {
        drivers.Stop();
        const Broken broken = Drained(plugin, *instance);
        return broken ? broken : LeftRegistered();
    }
    instance->Stop();
    instance->Uninit();
    plugin.DestroyModule();
    plugin.Unload();
    return LeftRegistered();
}

Broken Cycle::LeftRegistered() {
    std::lock_guard lock(leftMutex);
    if (left.empty()) {
        return std::nullopt;
    }
    std::string found;
    for (const auto& [error, count] : left) {
        found += (found.empty() ? "" : ", ") + std::to_string(count) + " " + error;
    }
    return "left registered after the unload: " + found;
}

Broken Cycle::Drained(sim::PluginHost& plugin, service_plugin::PluginInstance& instance) {
    const auto drain = [this]() -> Broken {
        engine.WaitIdle();
        if (!Drain(host)) {
            return ledger.CheckRequests(host.Signal().PendingTasks());
        }
        return std::nullopt;
    };
    Broken broken = drain();
    instance.Stop();
    broken = broken ? broken : drain();
    instance.Uninit();
    AnswerLate(host, random);
    broken = broken ? broken : drain();
    plugin.DestroyModule();
    broken = broken ? broken : drain();
    broken = broken ? broken : ledger.CheckRequests(host.Signal().PendingTasks());
    plugin.Unload();
    return broken;
}

}  // namespace

CycleOutcome RunStressCycle(const CycleSettings& settings, StressTotals& totals) {
    TrafficLedger ledger(totals);
    CycleOutcome outcome;
    {
        Cycle cycle{settings, ledger};
        outcome.broken = cycle.Run();
        cycle.engine.WaitIdle();
        cycle.engine.SetObserver(nullptr);
    }
    if (!outcome.broken) {
        outcome.broken = ledger.CheckAnswers();
    }
    ++totals.cycles;
    outcome.threadsAfter = sim::ProcessThreadCount();
    return outcome;
}

}  // namespace kinetra_sim
