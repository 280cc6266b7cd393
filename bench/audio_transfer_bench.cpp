// The audio stream's cost: converting and interleaving one block against copying its float
// input, and the whole audio callback for the host's usual 480-frame calls.
#include <benchmark/benchmark.h>

#include <cstring>
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

// The dispatched conversion against a copy of its input is the row of the ratio table (limit
// 1.5); each converter the processor offers is listed beside it.
[[maybe_unused]] const bool kRegistered = [] {
    const char* row = "Audio: convert 1024 stereo frames (limit 1.5)";
    benchmark::RegisterBenchmark("audio.convert_1024_frames/memcpy",
                                 [row](benchmark::State& state) {
                                     state.SetLabel(row);
                                     CopyBlockInput(state);
                                 });
    benchmark::RegisterBenchmark("audio.convert_1024_frames/ours", [row](benchmark::State& state) {
        state.SetLabel(row);
        ConvertBlock(state, &kinetra::ConvertInterleave);
    });
    for (const auto& converter : kinetra::AudioConverters()) {
        benchmark::RegisterBenchmark(
            ("audio.convert_1024_frames." + std::string(converter.name)).c_str(), ConvertBlock,
            converter.convert);
    }
    benchmark::RegisterBenchmark("audio.OnAudioData_480_frames", OnAudioData480);
    return true;
}();

}  // namespace
