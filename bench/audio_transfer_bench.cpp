// The audio stream's cost: converting and interleaving one block against copying its float
// input, and the whole audio callback for the host's usual 480-frame calls.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "live/audio_convert.h"
#include "live/kinetra_audio_transfer.h"
#include "plugin/kinetra_service_plugin_impl.h"

namespace {

constexpr std::size_t kBlockFrames = kinetra::KinetraAudioTransfer::kBlockFrames;

std::vector<float> Samples(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> sample(-1.2f, 1.2f);
    std::vector<float> samples(count);
    for (auto& value : samples) {
        value = sample(random);
    }
    return samples;
}

// The same 8 KiB of float input the conversion of one block reads.
void CopyBlockInput(benchmark::State& state) {
    const auto input = Samples(2 * kBlockFrames, 1);
    std::vector<float> copy(input.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), input.data(), input.size() * sizeof(float));
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(8 * kBlockFrames));
}

void ConvertBlock(benchmark::State& state, kinetra::AudioConvertFunction convert) {
    const auto plane0 = Samples(kBlockFrames, 2);
    const auto plane1 = Samples(kBlockFrames, 3);
    std::vector<std::uint8_t> block(kBlockFrames * kinetra::kAudioFrameBytes);
    for (auto _ : state) {
        convert(plane0.data(), plane1.data(), kBlockFrames, block.data());
        benchmark::DoNotOptimize(block.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(8 * kBlockFrames));
}

// Registers and answers like the host; nothing else.
class BenchAudioService : public service_plugin::IAudioService {
public:
    void AddAudioEvent(service_plugin::IAudioServiceEvent*, std::int32_t, std::int32_t) override {}
    void RemoveAudioEvent(service_plugin::IAudioServiceEvent*) override {}
    void GetAudioFormat(service_plugin::AudioFormat* out) override { *out = {48000, 2}; }
};

// The callback as the host makes it, blocks encoded and handed to the channel included.
void OnAudioData480(benchmark::State& state) {
    const auto plane0 = Samples(480, 4);
    const auto plane1 = Samples(480, 5);
    service_plugin::AudioFrame frame;
    frame.planes[0] = plane0.data();
    frame.planes[1] = plane1.data();
    frame.samples = 480;
    const auto instance = kinetra::KinetraServicePluginImpl::Create();
    BenchAudioService service;
    kinetra::KinetraAudioTransfer transfer;
    transfer.Init(&service, instance);
    for (auto _ : state) {
        transfer.OnAudioData(&frame, kinetra::KinetraAudioTransfer::kAudioKind);
    }
    transfer.Unit();
    state.SetItemsProcessed(state.iterations() * 480);
}

// Keeps each run's processor time per iteration, by name, to print the ratios after the table:
// on a shared machine the wall time also counts the time other processes take.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) {
            nanoseconds[run.benchmark_name()] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> nanoseconds;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RegisterBenchmark("memcpy_8KiB_float_input", CopyBlockInput);
    for (const auto& converter : kinetra::AudioConverters()) {
        benchmark::RegisterBenchmark(("convert_1024_frames/" + std::string(converter.name)).c_str(),
                                     ConvertBlock, converter.convert);
    }
    benchmark::RegisterBenchmark("convert_1024_frames/dispatched", ConvertBlock,
                                 &kinetra::ConvertInterleave);
    benchmark::RegisterBenchmark("OnAudioData_480_frames", OnAudioData480);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto& times = reporter.nanoseconds;
    const auto copy = times.find("memcpy_8KiB_float_input");
    if (copy == times.end() || copy->second <= 0) {
        return 0;
    }
    std::printf("\nconversion / memcpy for 1024 frames, processor time (limit 2.0):\n");
    for (const auto& [name, time] : times) {
        if (name.rfind("convert_1024_frames/", 0) == 0) {
            std::printf("  %-34s %8.1f ns  ratio %.2f\n", name.c_str(), time, time / copy->second);
        }
    }
    const auto callback = times.find("OnAudioData_480_frames");
    if (callback != times.end()) {
        std::printf("OnAudioData, 480-frame calls: %.1f ns per call, %.2f ns per frame\n",
                    callback->second, callback->second / 480);
    }
    return 0;
}
