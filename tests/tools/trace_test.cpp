// The readable trace. Its JSON lines (calls, requests, replies, time-outs, pushes) are pinned by
// the scenarios' expected traces.
#include "kinetra-sim/trace.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "taf/records/engine_audio.h"

namespace kinetra_sim {
namespace {

// A readable line without the time it starts with, which must be there.
std::string TextWithoutTime(const std::string& line) {
    static const std::regex time(R"(^\[ *\d+ ms\]  )");
    EXPECT_TRUE(std::regex_search(line, time)) << line;
    return std::regex_replace(line, time, "");
}

// An audio block in the text trace: one short line with the rate and the first frames.
TEST(EngineTrace, AudioBlockIsOneShortTextLine) {
    MeruKinetra::AudioFrameMsg block;
    block.iSampleRate = 48000;
    block.sPcm.assign(4096, '\0');
    const unsigned char first[] = {0xFF, 0x7F, 0x01, 0x80, 0x02, 0x00, 0xFE, 0xFF};
    std::copy(std::begin(first), std::end(first), block.sPcm.begin());
    sim::EngineTraffic traffic;
    traffic.channel = sim::SimEngine::kChannel;
    traffic.type = static_cast<std::uint32_t>(kinetra::number(kinetra::ToEngine::kAudioData));
    traffic.payload = taf::toBytes(block);
    std::ostringstream out;
    Trace(TraceFormat::text, out).Record(traffic);
    EXPECT_EQ(TextWithoutTime(out.str()),
              "plugin -> engine  2034  audio data  rate 48000, 16 bits, 2 channels, 1024 frames: "
              "(32767, -32767) (2, -2) (0, 0) (0, 0) ...\n");
}

// A host call in the text trace: the name and the arguments by name, floats as the shortest real.
TEST(HostCallTrace, TextLineHasTheCallAndItsArguments) {
    std::ostringstream text;
    Trace(TraceFormat::text, text)
        .Record(sim::HostCall{"SetSourceTransform",
                              {{"position", std::array<float, 2>{656.25f, 0.0f}},
                               {"scale", std::array<float, 2>{0.84375f, 0.84375f}}}});
    EXPECT_EQ(TextWithoutTime(text.str()),
              "plugin -> host    SetSourceTransform  position (656.25, 0.0), scale (0.84375, "
              "0.84375)\n");
}

}  // namespace
}  // namespace kinetra_sim
