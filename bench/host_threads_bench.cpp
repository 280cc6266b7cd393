// How long the plug-in holds each host thread it is called on, call by call: the median, p99,
// p99.9 and the slowest of 100,000 calls per row, once on a quiet process ("HostThreads/quiet")
// and once while one thread floods the engine channel and another writes log lines as fast as
// it can ("HostThreads/flood"). Then what the plug-in's own threads cost while the instance is
// on air and nothing arrives for 60 s ("HostThreads/idle_60s").
//
// The plug-in's code runs in this process, started on the simulated host's registry with
// services that only hand calls over, so each time is the plug-in's alone:
// - the audio thread: this thread calls the listener the plug-in registered, 480 frames a call;
// - the channel's thread: the stand-in channel delivers the engine's messages to a wrapper of
//   the plug-in's listener, which times each call on that thread;
// - the signal service's thread: a thread of ours answers the pass-through's tasks (response
//   and callback) and then delivers 1400 pushes to the handler the plug-in registered.
// Each row also counts the calls during which the system preempted the thread, and gives the
// tail of the other calls. A last row times a bare 1 µs loop the same way: the machine's own
// tail for calls of that length.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "allocation_counter.h"
#include "answers_account.h"
#include "core/logger.h"
#include "core/logger_stream.h"
#include "host/process_probe.h"
#include "host/sim_host.h"
#include "idle_floor.h"
#include "plugin/engine_envelope.h"
#include "plugin/engine_messages.h"
#include "plugin/host_registry.h"
#include "plugin/kinetra_service_plugin_impl.h"
#include "plugin/plugin_names.h"
#include "plugin_msg/engine_endpoint.h"
#include "support/server_identity.h"
#include "taf/records/live_messages.h"
#include "taf/records/live_pushes.h"
#include "taf/records/pass_through.h"
#include "taf/records/start_config.h"
#include "taf/server_call.h"

extern "C" plugin_msg::IPluginMsgServer* GetPluginMsgServer();

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kCalls = 100000;
constexpr std::uint32_t kAudioFrames = 480;
constexpr auto kAudioPace = std::chrono::microseconds(100);
constexpr std::size_t kPassThroughBytes = 200;

// The time of each call in nanoseconds, into room taken before the first. A call during which
// the system gave the thread's processor to another thread is also kept apart: on a machine
// shared with other work those calls measure the machine, the others the plug-in.
class Samples {
public:
    Samples() {
        mAll.reserve(kCalls);
        mOnProcessor.reserve(kCalls);
    }
    template <class Call>
    void Time(Call&& call) {
        const auto before = sim::ThisThreadSwitches();
        const auto start = Clock::now();
        call();
        const auto took = static_cast<double>(
            std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count());
        const auto after = sim::ThisThreadSwitches();
        const bool preempted = before && after && after->preemptions != before->preemptions;
        if (before && after) {
            mWaits += after->waits - before->waits;
        }
        if (mAll.size() < mAll.capacity()) {
            mAll.push_back(took);
            if (!preempted) {
                mOnProcessor.push_back(took);
            }
        }
    }

    void Report(benchmark::State& state, const std::string& row) {
        std::sort(mAll.begin(), mAll.end());
        std::sort(mOnProcessor.begin(), mOnProcessor.end());
        const auto at = [](const std::vector<double>& sorted, double fraction) {
            return sorted.empty()
                       ? 0.0
                       : sorted[static_cast<std::size_t>(fraction * (sorted.size() - 1))];
        };
        state.counters[row + ".calls"] = static_cast<double>(mAll.size());
        state.counters[row + ".p50_ns"] = at(mAll, 0.5);
        state.counters[row + ".p99_ns"] = at(mAll, 0.99);
        state.counters[row + ".p999_ns"] = at(mAll, 0.999);
        state.counters[row + ".max_ns"] = mAll.empty() ? 0.0 : mAll.back();
        state.counters[row + ".preempted"] = static_cast<double>(mAll.size() - mOnProcessor.size());
        state.counters[row + ".unpreempted_p999_ns"] = at(mOnProcessor, 0.999);
        state.counters[row + ".unpreempted_max_ns"] =
            mOnProcessor.empty() ? 0.0 : mOnProcessor.back();
        state.counters[row + ".waits"] = static_cast<double>(mWaits);
    }

private:
    // Times the thread went to sleep during a call: waited for a lock or a blocking call.
    std::uint64_t mWaits = 0;
    std::vector<double> mAll;
    std::vector<double> mOnProcessor;
};

std::string Envelope(kinetra::FromEngine type, const taf::Bytes& payload) {
    const taf::Bytes bytes = kinetra::EncodeEngineEnvelope(kinetra::number(type), payload);
    return std::string(bytes.begin(), bytes.end());
}

// A server frame for "engineSrv.engineFn" whose record makes the frame `size` bytes or just
// over.
taf::Bytes Frame(std::string_view attribute, std::size_t size) {
    for (std::size_t fill = 0;; ++fill) {
        taf::UniPacket packet;
        packet.setVersion(3);
        packet.packet().sServantName = "engineSrv";
        packet.packet().sFuncName = "engineFn";
        packet.packet().iRequestId = 7;
        packet.put(attribute, MeruKinetra::UpdaterConfig{std::string(fill, 'u'), "m", "v"});
        taf::Bytes frame;
        packet.encode(frame);
        if (frame.size() >= size) {
            return frame;
        }
    }
}

// A count one thread raises and another sleeps on until it reaches a mark: one wake-up per
// mark, where looking often would take the processor from the calls being timed.
class Progress {
public:
    void Add() {
        if (mCount.fetch_add(1, std::memory_order_acq_rel) + 1 == mMark.load()) {
            std::lock_guard lock(mMutex);
            mChanged.notify_all();
        }
    }
    std::size_t Count() const { return mCount.load(std::memory_order_acquire); }
    void WaitFor(std::size_t count) {
        mMark = count;
        std::unique_lock lock(mMutex);
        mChanged.wait_for(lock, std::chrono::seconds(30), [&] { return Count() >= count; });
    }

private:
    std::mutex mMutex;
    std::condition_variable mChanged;
    std::atomic<std::size_t> mMark{0};
    std::atomic<std::size_t> mCount{0};
};

// Keeps the tasks the plug-in sends for the signal thread and the push handlers it registers.
// Handing a task over only queues it, so that no wake-up of another thread (a system call) is
// timed as the plug-in's: the signal thread is woken once a batch of messages is delivered.
class HandingSignal : public service_plugin::ISignalService {
public:
    explicit HandingSignal(const sim::HostAnswers& answers)
        : mAnswers(answers), mAccount(answers) {}
    ~HandingSignal() {
        for (auto* task : mTasks) {
            task->Release();
        }
    }

    service_plugin::LLString GetGuid() override {
        return service_plugin::LLString(mAnswers.guid.c_str());
    }
    service_plugin::LLString GetUserAgent() override {
        return service_plugin::LLString(mAnswers.ua.c_str());
    }
    service_plugin::IAccount* GetAccount() override { return &mAccount; }
    void SendTask(service_plugin::SignalTafTask* task) override {
        std::lock_guard lock(mMutex);
        mTasks.push_back(task);
    }
    // Wakes the signal thread for the tasks queued so far.
    void Kick() {
        std::lock_guard lock(mMutex);
        mChanged.notify_one();
    }
    void AddPushHandler(std::uint32_t uri, service_plugin::SignalNotifyStub* stub) override {
        std::lock_guard lock(mMutex);
        mStubs[uri] = stub;
    }
    void RemovePushHandler(std::uint32_t uri, service_plugin::SignalNotifyStub* stub) override {
        std::lock_guard lock(mMutex);
        if (mStubs[uri] == stub) {
            mStubs.erase(uri);
        }
    }

    // The next task, waiting up to a second for one; null on time-out.
    service_plugin::SignalTafTask* NextTask() {
        std::unique_lock lock(mMutex);
        if (!mChanged.wait_for(lock, std::chrono::seconds(1), [this] { return !mTasks.empty(); })) {
            return nullptr;
        }
        auto* task = mTasks.front();
        mTasks.pop_front();
        return task;
    }
    void ReleaseTasks() {
        std::lock_guard lock(mMutex);
        for (auto* task : mTasks) {
            task->Release();
        }
        mTasks.clear();
    }
    service_plugin::SignalNotifyStub* Stub(std::uint32_t uri) {
        std::lock_guard lock(mMutex);
        const auto found = mStubs.find(uri);
        return found == mStubs.end() ? nullptr : found->second;
    }

private:
    const sim::HostAnswers& mAnswers;
    bench_support::AnswersAccount mAccount;
    std::mutex mMutex;
    std::condition_variable mChanged;
    std::deque<service_plugin::SignalTafTask*> mTasks;
    std::map<std::uint32_t, service_plugin::SignalNotifyStub*> mStubs;
};

class CapturingAudio : public service_plugin::IAudioService {
public:
    void AddAudioEvent(service_plugin::IAudioServiceEvent* listener, std::int32_t,
                       std::int32_t) override {
        mListener = listener;
    }
    void RemoveAudioEvent(service_plugin::IAudioServiceEvent* listener) override {
        if (mListener == listener) {
            mListener = nullptr;
        }
    }
    void GetAudioFormat(service_plugin::AudioFormat* out) override { *out = {48000, 2}; }
    service_plugin::IAudioServiceEvent* Listener() const { return mListener; }

private:
    std::atomic<service_plugin::IAudioServiceEvent*> mListener{nullptr};
};

// Stands between the channel and the plug-in's listener and times each call on the channel's
// thread. The flood's messages are told apart by their bytes and only counted.
class TimedListener : public plugin_msg::IPluginMsgEvent {
public:
    TimedListener(plugin_msg::IPluginMsgEvent& plugin, std::string flood)
        : mPlugin(plugin), mFlood(std::move(flood)) {}

    void OnMsg(const char* channel, const char* data, std::uint32_t size) override {
        const bool flood = size == mFlood.size() && std::memcmp(data, mFlood.data(), size) == 0;
        if (flood || mSamples == nullptr) {
            mPlugin.OnMsg(channel, data, size);
        } else {
            mSamples->Time([&] { mPlugin.OnMsg(channel, data, size); });
        }
        if (flood) {
            mFloodDelivered.fetch_add(1, std::memory_order_release);
        } else {
            mDelivered.Add();
        }
    }

    // Sleeps until `count` messages other than the flood's have been delivered.
    void WaitDelivered(std::size_t count) { mDelivered.WaitFor(count); }

    // Set while nothing is posted.
    void Measure(Samples* samples) { mSamples = samples; }
    std::size_t Delivered() const { return mDelivered.Count(); }
    std::size_t FloodDelivered() const { return mFloodDelivered.load(std::memory_order_acquire); }
    const std::string& FloodMessage() const { return mFlood; }

private:
    plugin_msg::IPluginMsgEvent& mPlugin;
    const std::string mFlood;
    Samples* mSamples = nullptr;
    Progress mDelivered;
    std::atomic<std::size_t> mFloodDelivered{0};
};

// Counts what reaches the engine; audio blocks are the only messages over 4 KiB.
struct EngineCounts {
    std::atomic<std::size_t> audio{0};
    std::atomic<std::size_t> other{0};

    static void Receive(void* context, const char*, const char*, std::uint32_t size) {
        auto& counts = *static_cast<EngineCounts*>(context);
        (size > 4096 ? counts.audio : counts.other).fetch_add(1, std::memory_order_release);
    }
};

// The started instance, its listener wrapped, its log in a file at the host's threshold.
class Rig {
public:
    Rig()
        : mFolder(fs::temp_directory_path() / "kinetra_bench_host_threads"),
          mHost(Answers()),
          mSignal(mAnswers) {
        fs::create_directories(mFolder);
        mHost.Calls().SetKeeping(false);
        core::init_logger((mFolder / "KinetraService.log").wstring(), core::level_inf);
        mHost.Registration().Provide("service_signal", "plugin:signal",
                                     static_cast<service_plugin::ISignalService*>(&mSignal));
        mHost.Registration().Provide("audio_service", "plugin:audio_service",
                                     static_cast<service_plugin::IAudioService*>(&mAudio));
        kinetra::SetHostRegistry(mHost.Registry());
        mEndpoint->SetReceiver(&EngineCounts::Receive, &mEngine);
        mInstance = kinetra::KinetraServicePluginImpl::Create();
        mListener = std::make_unique<TimedListener>(
            *mInstance, Envelope(kinetra::FromEngine::kUserInfoRequest, {}));
        GetPluginMsgServer()->RemoveEvent(mInstance.get());
        GetPluginMsgServer()->AddEvent(mListener.get());
        mInstance->Start();
        // On air: the open notice starts the tag refresh.
        Post(Envelope(kinetra::FromEngine::kOpenState,
                      taf::toBytes(MeruKinetra::OpenStateMsg{1, 3})));
        mEndpoint->WaitIdle(5000);
        mSignal.ReleaseTasks();
    }

    ~Rig() {
        GetPluginMsgServer()->RemoveEvent(mListener.get());
        mInstance->Stop();
        mInstance->Uninit();
        mInstance.reset();
        mSignal.ReleaseTasks();
        mEndpoint->SetReceiver(nullptr, nullptr);
        core::uninit_logger();
        fs::remove_all(mFolder);
    }

    void Post(const std::string& envelope) {
        mEndpoint->Post(kinetra::kEngineChannelName, envelope.data(),
                        static_cast<std::uint32_t>(envelope.size()));
    }

    sim::IEngineEndpoint& Endpoint() { return *mEndpoint; }
    TimedListener& Listener() { return *mListener; }
    HandingSignal& Signal() { return mSignal; }
    service_plugin::IAudioServiceEvent* AudioListener() { return mAudio.Listener(); }
    std::size_t AudioBlocksReceived() const {
        return mEngine.audio.load(std::memory_order_acquire);
    }

private:
    sim::HostAnswers Answers() {
        mAnswers = testing_support::ServerIdentity();
        mAnswers.liveId = 77;
        return mAnswers;
    }

    fs::path mFolder;
    sim::HostAnswers mAnswers;
    sim::SimHost mHost;
    HandingSignal mSignal;
    CapturingAudio mAudio;
    EngineCounts mEngine;
    sim::IEngineEndpoint* mEndpoint = GetPluginMsgEngineEndpoint();
    std::shared_ptr<kinetra::KinetraServicePluginImpl> mInstance;
    std::unique_ptr<TimedListener> mListener;
};

// One thread keeps the engine channel busy with user-information requests (each answered to
// the engine), never more than 64 ahead of the plug-in; another logs as fast as it can.
class Flood {
public:
    explicit Flood(Rig& rig) : mRig(rig) {
        mEngine = std::thread([this] {
            std::size_t posted = 0;
            while (mRunning.load(std::memory_order_relaxed)) {
                for (int i = 0; i < 64; ++i, ++posted) {
                    mRig.Post(mRig.Listener().FloodMessage());
                }
                while (mRig.Listener().FloodDelivered() + 64 < posted &&
                       mRunning.load(std::memory_order_relaxed)) {
                    std::this_thread::yield();
                }
            }
            mPosted = posted;
        });
        mLog = std::thread([this] {
            for (std::uint64_t line = 0; mRunning.load(std::memory_order_relaxed); ++line) {
                core::logger_stream(core::level_inf) << L"bench flood line " << line;
            }
        });
    }
    ~Flood() {
        mRunning = false;
        mEngine.join();
        mLog.join();
        while (mRig.Listener().FloodDelivered() < mPosted) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

private:
    Rig& mRig;
    std::atomic<bool> mRunning{true};
    std::size_t mPosted = 0;
    std::thread mEngine;
    std::thread mLog;
};

// The audio callback on this thread, 480 frames a call. A host calls every 10 ms and its thread
// sleeps in between; this calls every 100 µs, a hundred times the host's pace, and sleeps in
// between too (also never more than six blocks ahead of the engine, so the queue of eight drops
// none). Allocations and waits (the thread going to sleep during a call: a lock held by another
// thread, a blocking call) are counted after the first block, and so are the blocks that never
// reached the engine.
void AudioRow(Rig& rig, benchmark::State& state, const std::string& row) {
    std::vector<float> plane0(kAudioFrames);
    std::vector<float> plane1(kAudioFrames);
    for (std::uint32_t i = 0; i < kAudioFrames; ++i) {
        plane0[i] = static_cast<float>(i % 64) / 64.0f;
        plane1[i] = -plane0[i];
    }
    service_plugin::AudioFrame frame;
    frame.planes[0] = plane0.data();
    frame.planes[1] = plane1.data();
    frame.samples = kAudioFrames;
    auto* listener = rig.AudioListener();
    if (listener == nullptr) {
        state.SkipWithError("the plug-in registered no audio listener");
        return;
    }
    const std::size_t blocksBefore = rig.AudioBlocksReceived();
    std::uint64_t frames = 0;
    while (frames < kinetra::KinetraAudioTransfer::kBlockFrames) {
        listener->OnAudioData(&frame, kinetra::KinetraAudioTransfer::kAudioKind);
        frames += kAudioFrames;
    }
    Samples samples;
    const std::size_t allocationsBefore = bench::ThisThreadAllocations().blocks;
    auto due = Clock::now();
    for (std::size_t call = 0; call < kCalls; ++call) {
        due += kAudioPace;
        std::this_thread::sleep_until(due);
        while (frames / kinetra::KinetraAudioTransfer::kBlockFrames >
               rig.AudioBlocksReceived() - blocksBefore + 6) {
            std::this_thread::yield();
        }
        samples.Time(
            [&] { listener->OnAudioData(&frame, kinetra::KinetraAudioTransfer::kAudioKind); });
        frames += kAudioFrames;
    }
    const std::size_t allocations = bench::ThisThreadAllocations().blocks - allocationsBefore;
    const std::size_t pushed = frames / kinetra::KinetraAudioTransfer::kBlockFrames;
    for (int waited = 0; waited < 1000 && rig.AudioBlocksReceived() - blocksBefore < pushed;
         ++waited) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    samples.Report(state, row);
    state.counters[row + ".allocs"] = static_cast<double>(allocations);
    state.counters[row + ".lost"] =
        static_cast<double>(pushed - (rig.AudioBlocksReceived() - blocksBefore));
}

// `kCalls` engine messages posted in batches; the wrapper times each on the channel's thread.
// After each batch the signal thread answers the tasks it made, while the channel waits, so
// that on a quiet process each thread is timed alone.
void ChannelRow(Rig& rig, const std::string& envelope, Samples& samples,
                Progress* answered = nullptr) {
    rig.Listener().Measure(&samples);
    const std::size_t start = rig.Listener().Delivered();
    for (std::size_t posted = 0; posted < kCalls;) {
        const std::size_t batch = std::min<std::size_t>(256, kCalls - posted);
        for (std::size_t i = 0; i < batch; ++i) {
            rig.Post(envelope);
        }
        posted += batch;
        rig.Listener().WaitDelivered(start + posted);
        if (answered != nullptr) {
            rig.Signal().Kick();
            answered->WaitFor(posted);
        }
    }
    rig.Listener().Measure(nullptr);
}

// The signal thread: answers `count` pass-through tasks as they come, timing the response and
// callback of each.
void AnswerTasks(Rig& rig, std::size_t count, Samples& samples, Progress& answered) {
    const taf::Bytes reply = Frame(taf::kResponseAttribute, kPassThroughBytes);
    for (std::size_t taken = 0; taken < count; ++taken) {
        auto* task = rig.Signal().NextTask();
        if (task == nullptr) {
            return;
        }
        task->Encode(&rig.Signal());
        samples.Time([&] {
            task->OnResponse(reinterpret_cast<const char*>(reply.data()), reply.size(), 0, 0);
            task->OnCallback();
        });
        task->Release();
        answered.Add();
    }
}

// The signal thread: 1400 pushes to the handler the live logic registered.
void PushRow(Rig& rig, Samples& samples) {
    auto* stub = rig.Signal().Stub(MERU::MessageNotice::kPushUri);
    if (stub == nullptr) {
        return;
    }
    MERU::MessageNotice notice;
    notice.tSender.sText2 = "viewer";
    notice.tSender.sText4 = "avatar.png";
    notice.sText3 = "hello from the room";
    const taf::Bytes body = taf::toBytes(notice);
    for (std::size_t call = 0; call < kCalls; ++call) {
        samples.Time([&] {
            if (auto* notify = stub->CreateNotify(reinterpret_cast<const char*>(body.data()),
                                                  static_cast<std::uint32_t>(body.size()))) {
                notify->Notify();
                notify->Release();
            }
        });
    }
}

// Counts to `spins` and touches nothing else: work of a known length and no side effects.
void Spin(std::uint64_t spins) {
    volatile std::uint64_t count = 0;
    while (count < spins) {
        count = count + 1;
    }
}

// What the machine alone adds to a call about as long as the pass-through's median: a bare
// loop of about 1 µs, timed the same way on a thread of its own. The interrupts that land in a
// fraction of such calls set a tail that no call of that length can go below on this machine.
void BareRow(Samples& samples) {
    constexpr std::uint64_t kProbe = 1000000;
    const auto start = Clock::now();
    Spin(kProbe);
    const auto probe = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    const auto spins = static_cast<std::uint64_t>(static_cast<double>(kProbe) / probe);
    for (std::size_t call = 0; call < kCalls; ++call) {
        samples.Time([&] { Spin(spins); });
    }
}

void HostThreads(benchmark::State& state, bool flooded) {
    state.SetLabel(flooded ? "while the engine channel and the log are flooded" : "quiet");
    for (auto _ : state) {
        Rig rig;
        std::unique_ptr<Flood> flood;
        if (flooded) {
            flood = std::make_unique<Flood>(rig);
        }
        AudioRow(rig, state, "audio_480");

        Samples gameId;
        ChannelRow(rig, Envelope(kinetra::FromEngine::kGameIdRequest, {}), gameId);
        gameId.Report(state, "channel_2014");

        Samples passThrough;
        Samples replies;
        Progress answered;
        std::thread signal([&] { AnswerTasks(rig, kCalls, replies, answered); });
        ChannelRow(rig,
                   Envelope(kinetra::FromEngine::kPassThroughRequest,
                            taf::toBytes(MeruKinetra::MeruTafTransDataReq{
                                Frame(taf::kRequestAttribute, kPassThroughBytes)})),
                   passThrough, &answered);
        signal.join();
        passThrough.Report(state, "channel_22");
        replies.Report(state, "signal_reply");

        Samples pushes;
        std::thread pushing([&] { PushRow(rig, pushes); });
        pushing.join();
        pushes.Report(state, "signal_push_1400");

        Samples bare;
        std::thread baring([&] { BareRow(bare); });
        baring.join();
        bare.Report(state, "bare_1us");
    }
}

// The plug-in's threads (named "kinetra-…") over 60 s on air with nothing arriving: how often
// each went to sleep, so was woken, and the processor time it used; beside them, the floors
// that one bare 5 s timer thread, and a bare pair shaped like the timer and the log writer,
// cost in the same 60 s.
void IdleOnAir(benchmark::State& state) {
    state.SetLabel("on air, nothing arriving for 60 s");
    for (auto _ : state) {
        Rig rig;
        const auto ours = [] {
            std::map<std::uint64_t, sim::ThreadUse> threads;
            for (auto& thread : sim::ProcessThreads()) {
                if (thread.name.starts_with("kinetra-")) {
                    threads[thread.id] = thread;
                }
            }
            return threads;
        };
        // Let the start's own work settle first.
        std::this_thread::sleep_for(std::chrono::seconds(1));
        const auto before = ours();
        if (before.empty()) {
            state.SkipWithError("this system does not list threads with their names and waits");
            return;
        }
        // The floors run the same 60 s, each out of step with the plug-in's refresh and with the
        // other, so that no wake-up rides on another's.
        constexpr auto kWindow = std::chrono::seconds(60);
        constexpr auto kOutOfStep = std::chrono::milliseconds(2500);
        bench::IdleFloor floor(std::chrono::seconds(5),
                               bench::IdleFloor::Shape::kTimerWakingWriter);
        std::this_thread::sleep_for(kOutOfStep);
        bench::IdleFloor alone(std::chrono::seconds(5), bench::IdleFloor::Shape::kTimerAlone);
        std::this_thread::sleep_for(kWindow - kOutOfStep);
        const auto after = ours();
        const sim::ThreadUse floorUse = floor.Finish();
        std::this_thread::sleep_for(kOutOfStep);
        const sim::ThreadUse aloneUse = alone.Finish();
        double waits = 0;
        double cpuNs = 0;
        std::map<std::string, std::pair<double, double>> byName;
        for (const auto& [id, thread] : after) {
            const auto found = before.find(id);
            const sim::ThreadUse start = found == before.end() ? sim::ThreadUse{} : found->second;
            auto& named = byName[thread.name];
            named.first += static_cast<double>(thread.waits - start.waits);
            named.second += static_cast<double>(thread.cpuNs - start.cpuNs);
        }
        for (const auto& [name, use] : byName) {
            state.counters["idle." + name + ".wakeups"] = use.first;
            state.counters["idle." + name + ".cpu_us"] = use.second / 1000;
            waits += use.first;
            cpuNs += use.second;
        }
        state.counters["idle.all.wakeups"] = waits;
        state.counters["idle.all.cpu_us"] = cpuNs / 1000;
        state.counters["floor.wakeups"] = static_cast<double>(floorUse.waits);
        state.counters["floor.cpu_us"] = static_cast<double>(floorUse.cpuNs) / 1000;
        state.counters["floor_alone.wakeups"] = static_cast<double>(aloneUse.waits);
        state.counters["floor_alone.cpu_us"] = static_cast<double>(aloneUse.cpuNs) / 1000;
        rig.Signal().ReleaseTasks();
    }
}

BENCHMARK_CAPTURE(HostThreads, quiet, false)
    ->Name("HostThreads/quiet")
    ->Iterations(1)
    ->Repetitions(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(HostThreads, flood, true)
    ->Name("HostThreads/flood")
    ->Iterations(1)
    ->Repetitions(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(IdleOnAir)
    ->Name("HostThreads/idle_60s")
    ->Iterations(1)
    ->Repetitions(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
