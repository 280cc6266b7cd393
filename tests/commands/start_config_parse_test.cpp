// The start configuration's banner JSON, updater list and camera detail text, as tables.
#include "commands/start_config_parse.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/json_node.h"
#include "support/allocation_probe.h"

namespace kinetra {
namespace {

using Strings = std::vector<std::string>;

TEST(StartConfigParse, BannerImagesJumpsAndTips) {
    const struct {
        const char* json;
        Strings images, jumps, tips;
    } cases[] = {
        {R"({"imgurl":[{"image":"i1"},{"image":"i2","jump":"j2"}],"tip":["t1","t2"]})",
         {"i1", "i2"},
         {"j2"},
         {"t1", "t2"}},
        {R"({"imgurl":[{"image":5,"jump":"j1"},"x",{"image":"i3"}],"tip":[1,"t2",null]})",
         {"i3"},
         {"j1"},
         {"t2"}},
        {R"({"imgurl":{"image":"i1"},"tip":"t1"})", {}, {}, {}},
        {R"({"imgurl":[],"tip":[]})", {}, {}, {}},
        {R"([{"imgurl":[{"image":"i1"}]}])", {}, {}, {}},
        {R"({"imgurl":[{"image":"i1"})", {}, {}, {}},
        {"", {}, {}, {}},
    };
    for (const auto& c : cases) {
        MeruKinetra::StartConfigMsg message;
        ReadBannerTips(c.json, message);
        EXPECT_EQ(message.vImage, c.images) << c.json;
        EXPECT_EQ(message.vJump, c.jumps) << c.json;
        EXPECT_EQ(message.vTip, c.tips) << c.json;
    }
}

TEST(StartConfigParse, UpdaterWalkStopsAtTheFirstElementWithoutUrlOrMd5) {
    using U = MeruKinetra::UpdaterConfig;
    const struct {
        const char* json;
        bool complete;
        U updater;
    } cases[] = {
        {R"([{"url":"u1","md5":"m1","version":"v1"}])", true, {"u1", "m1", "v1"}},
        {R"([{"url":"u1","md5":"m1","version":"v1"},{"url":"u2","md5":"m2"}])",
         true,
         {"u2", "m2", "v1"}},
        {R"([{"url":"u1","version":"v1"},{"url":"u2","md5":"m2","version":"v2"}])",
         false,
         {"u1", "", "v1"}},
        {R"([{"url":"u1","md5":"m1"},{"md5":"m2","version":"v2"},{"url":"u3","md5":"m3"}])",
         false,
         {"u1", "m2", "v2"}},
        {R"([{"url":7,"md5":"m1"}])", false, {"", "m1", ""}},
        {R"([{"url":"u1","md5":"m1","version":3}])", true, {"u1", "m1", ""}},
        {R"([3])", false, {}},
        {R"({"url":"u1","md5":"m1"})", true, {}},
        {"[]", true, {}},
        {"not json", true, {}},
    };
    for (const auto& c : cases) {
        U updater;
        EXPECT_EQ(ReadUpdaterConfig(c.json, updater), c.complete) << c.json;
        EXPECT_EQ(updater, c.updater) << c.json;
    }
}

TEST(StartConfigParse, CameraDetailSplitsAtColonsLikeLineReads) {
    const struct {
        const char* detail;
        const char* key;
        const char* value;
    } cases[] = {
        {"cam:a#3Ab#22c", "cam", "a:b#c"},
        {"a:b:c", "Camera", "a:b:c"},
        {"cam:", "cam", "cam"},
        {"#3A#22:", "#3A#22", ":#"},
        {":x", "", "x"},
        {"::", "", ""},
        {"a::", "a", ""},
        {":::", "Camera", ":::"},
        {"plain#223A", "plain#223A", "plain#3A"},
        {"k:#223A", "k", "#3A"},
        {"k:#3A22", "k", ":22"},
    };
    for (const auto& c : cases) {
        const auto camera = CameraFromDetail("Camera", c.detail);
        EXPECT_EQ(camera.sKey, c.key) << c.detail;
        EXPECT_EQ(camera.sValue, c.value) << c.detail;
    }
}

std::size_t gJsonBytes = 0;

void* CountedJsonAllocate(std::size_t size) {
    gJsonBytes += size;
    return std::malloc(size);
}

// A banner array of 1.3 million numbers (3.9 MB) is read without a wrapper per element:
// everything allocated on the way, freed or not, stays within 16 times the text.
TEST(StartConfigParse, ALongBannerArrayCostsABoundedMultipleOfItsText) {
    std::string json = R"({"tip":["t")";
    for (int i = 0; i < 1'300'000; ++i) {
        json += ",10";
    }
    json += "]}";
    MeruKinetra::StartConfigMsg message;
    gJsonBytes = 0;
    meru::json_set_allocator(&CountedJsonAllocate, &std::free);
    std::size_t heap = 0;
    {
        test::AllocationProbe probe;
        ReadBannerTips(json, message);
        heap = probe.totalBytes();
    }
    meru::json_set_allocator(nullptr, nullptr);
    EXPECT_EQ(message.vTip, std::vector<std::string>{"t"});
    EXPECT_LE(gJsonBytes + heap, 16 * json.size()) << gJsonBytes << " + " << heap;
}

}  // namespace
}  // namespace kinetra
