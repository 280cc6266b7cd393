// The JSON document against RapidJSON on the same texts: parse + free and print of a 5 KB start
// configuration and of a 1.1 MB array of such configurations, the heap of the parsed 1.1 MB
// document, and an array of n numbers built with Add and read back in order with Get(i). After
// the timed loop each side's result is checked: printed texts read back (with RapidJSON) equal
// to the source document, and the sums of the numbers read agree with the numbers added.
#include <benchmark/benchmark.h>
#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "allocation_counter.h"
#include "core/json_node.h"
#include "core/json_object.h"

namespace {

// Both sides allocate through the counted operator new, so their heaps are measured alike: the
// document's node allocator here, RapidJSON's base allocator below.
void* CountedAllocate(size_t size) {
    return ::operator new(size, std::nothrow);
}

void CountedFree(void* block) {
    ::operator delete(block);
}

[[maybe_unused]] const bool kCountedNodes = [] {
    meru::json_set_allocator(&CountedAllocate, &CountedFree);
    return true;
}();

struct CountedBaseAllocator {
    static const bool kNeedFree = true;
    void* Malloc(size_t size) { return size != 0 ? CountedAllocate(size) : nullptr; }
    void* Realloc(void* original, size_t originalSize, size_t newSize) {
        if (newSize == 0) {
            CountedFree(original);
            return nullptr;
        }
        void* grown = CountedAllocate(newSize);
        if (grown != nullptr && original != nullptr) {
            std::memcpy(grown, original, originalSize < newSize ? originalSize : newSize);
        }
        CountedFree(original);
        return grown;
    }
    static void Free(void* block) { CountedFree(block); }
};

using PeerDocument = rapidjson::GenericDocument<
    rapidjson::UTF8<>, rapidjson::MemoryPoolAllocator<CountedBaseAllocator>, CountedBaseAllocator>;
// RapidJSON's text grows by realloc, which may extend a large block in place; an allocator
// that must copy on every growth would slow its printer unfairly. Its blocks go uncounted.
using PeerBuffer = rapidjson::StringBuffer;

// One start configuration as the plug-in receives it: banners with images and jump links,
// tips with escapes and non-ASCII text, updater entries, the camera and experiment values.
// `seed` varies every text and number.
std::string Configuration(int seed) {
    const std::string n = std::to_string(seed);
    std::string text = "{\"imgurl\":[";
    for (int i = 0; i < 8; ++i) {
        const std::string id = n + "-" + std::to_string(i);
        text += i > 0 ? "," : "";
        text += "{\"image\":\"https://cdn.example.invalid/banner/" + id +
                "/large@2x.png\",\"jump\":\"app://room/open?id=" + id +
                "&tab=\\\"gift\\\"&from=banner\",\"weight\":" + std::to_string(seed * 7 + i) +
                ",\"scale\":" + std::to_string(i) +
                ".25,\"visible\":" + (i % 3 == 0 ? "false" : "true") + "}";
    }
    text += "],\n\"tip\":[";
    const char* const kTips[] = {
        "Welcome back! Tap the avatar to start \\u00e9 la carte",
        "B\xC3\xBChne frei \xE2\x80\x94 caf\xC3\xA9 \xE2\x98\x95 f\xC3\xBCr alle",
        "Line one\\nLine two\\twith a tab and a \\\\ backslash",
        "\xE6\xAC\xA2\xE8\xBF\x8E\xE6\x9D\xA5\xE5\x88\xB0\xE7\x9B\xB4\xE6\x92\xAD\xE9\x97\xB4",
        "Smile \\ud83d\\ude00 and wave",
        "Gifts over 100 coins light up the stage for 30 seconds",
    };
    bool first = true;
    for (const char* tip : kTips) {
        text += first ? "\"" : ",\"";
        text += tip;
        text += " #" + n + "\"";
        first = false;
    }
    text += "],\n\"SimpleKinetraUrl\":\"https://config.example.invalid/simple/v3/" + n +
            ".json\",\"KinetraFileConfigUrl\":\"https://config.example.invalid/files/" + n +
            "/manifest.json?sig=3f9a0c7d5e1b\",\n\"new_updater_config\":[";
    for (int i = 0; i < 4; ++i) {
        text += i > 0 ? "," : "";
        text += "{\"url\":\"https://update.example.invalid/pkg/" + n + "/" + std::to_string(i) +
                ".zip\",\"md5\":\"9e107d9d372bb6826bd81d3542a419d" + std::to_string(i) +
                "\",\"version\":\"2." + std::to_string(i) + "." + n +
                "\",\"size\":" + std::to_string(1048576 + seed * 13 + i) + "}";
    }
    text += "],\n\"camera\":{\"value\":\"cam#3A0#22front\",\"key\":\"front-" + n +
            "\",\"first\":{\"x\":0.125,\"y\":-3.5},\"second\":{\"x\":12.75,\"y\":0.000244}},"
            "\"experiment\":{\"flags\":[true,false,null,true],\"ratio\":0.75,\"limit\":" +
            std::to_string(4294967296LL + seed) + ",\"offset\":-" + std::to_string(seed % 97) +
            ",\"groups\":[1,2,3,5,8,13,21,34],\"name\":\"\"}}";
    return text;
}

// About 5 KB.
const std::string& SmallText() {
    static const std::string text = [] {
        return "{\"config\":" + Configuration(1) + ",\"backup\":" + Configuration(2) + "}";
    }();
    return text;
}

// About 1.1 MB: an array of configurations.
const std::string& LargeText() {
    static const std::string text = [] {
        std::string all = "[";
        for (int seed = 0; all.size() < 1100000; ++seed) {
            all += seed > 0 ? ",\n" : "";
            all += Configuration(seed);
        }
        return all + "]";
    }();
    return text;
}

// Times the loop body and reports the allocations of one iteration.
template <class Body>
void Run(benchmark::State& state, const std::string& row, Body&& body) {
    state.SetLabel(row);
    const bench::AllocationTotals before = bench::AllocationsSoFar();
    for (auto _ : state) {
        body();
    }
    const bench::AllocationTotals after = bench::AllocationsSoFar();
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["allocs"] = static_cast<double>(after.blocks - before.blocks) / iterations;
}

// Whether `printed` reads back (with RapidJSON) as the same document as `source`.
bool ReadsBackAs(const std::string& printed, const std::string& source) {
    PeerDocument expected;
    PeerDocument actual;
    expected.Parse(source.c_str());
    actual.Parse(printed.c_str());
    return !expected.HasParseError() && !actual.HasParseError() && actual == expected;
}

std::string PeerPrint(const PeerDocument& document) {
    PeerBuffer buffer;
    rapidjson::Writer<PeerBuffer> writer(buffer);
    document.Accept(writer);
    return std::string(buffer.GetString(), buffer.GetSize());
}

void ParseOurs(benchmark::State& state, const std::string& text, const std::string& row) {
    Run(state, row, [&] {
        meru::CJsonObject document(text);
        benchmark::DoNotOptimize(document);
    });
    if (!ReadsBackAs(meru::CJsonObject(text).ToString(), text)) {
        state.SkipWithError("the parsed document differs from the text");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
    state.counters["text_bytes"] = static_cast<double>(text.size());
}

void ParsePeer(benchmark::State& state, const std::string& text, const std::string& row) {
    Run(state, row, [&] {
        PeerDocument document;
        document.Parse(text.c_str());
        benchmark::DoNotOptimize(document);
    });
    PeerDocument document;
    document.Parse(text.c_str());
    if (document.HasParseError() || !ReadsBackAs(PeerPrint(document), text)) {
        state.SkipWithError("RapidJSON's document differs from the text");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

void PrintOurs(benchmark::State& state, const std::string& text, const std::string& row) {
    const meru::CJsonObject document(text);
    std::string printed;
    Run(state, row, [&] {
        printed = document.ToString();
        benchmark::DoNotOptimize(printed.data());
    });
    if (!ReadsBackAs(printed, text)) {
        state.SkipWithError("the printed text reads back as another document");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(printed.size()));
}

void PrintPeer(benchmark::State& state, const std::string& text, const std::string& row) {
    PeerDocument document;
    document.Parse(text.c_str());
    std::string printed;
    Run(state, row, [&] {
        printed = PeerPrint(document);
        benchmark::DoNotOptimize(printed.data());
    });
    if (!ReadsBackAs(printed, text)) {
        state.SkipWithError("RapidJSON's text reads back as another document");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(printed.size()));
}

std::string AddGetRow(int64_t count) {
    return "JSON Add of " + std::to_string(count) + " numbers to an array, then Get(i) in order";
}

void AddGetOurs(benchmark::State& state, int64_t count) {
    int64_t sum = 0;
    Run(state, AddGetRow(count), [&] {
        meru::CJsonObject array;
        for (int32_t i = 0; i < count; ++i) {
            array.Add(i);
        }
        sum = 0;
        for (uint32_t i = 0; i < count; ++i) {
            int32_t value = 0;
            array.Get(i, value);
            sum += value;
        }
        benchmark::DoNotOptimize(sum);
    });
    if (sum != count * (count - 1) / 2) {
        state.SkipWithError("the numbers read back differ from those added");
    }
}

void AddGetPeer(benchmark::State& state, int64_t count) {
    int64_t sum = 0;
    Run(state, AddGetRow(count), [&] {
        PeerDocument array;
        array.SetArray();
        for (int32_t i = 0; i < count; ++i) {
            array.PushBack(i, array.GetAllocator());
        }
        sum = 0;
        for (rapidjson::SizeType i = 0; i < count; ++i) {
            sum += array[i].GetInt();
        }
        benchmark::DoNotOptimize(sum);
    });
    if (sum != count * (count - 1) / 2) {
        state.SkipWithError("RapidJSON's numbers read back differ from those added");
    }
}

[[maybe_unused]] const bool kRegistered = [] {
    const std::string small = "JSON parse + free, 5 KB start configuration";
    const std::string large = "JSON parse + free, 1.1 MB array of configurations";
    benchmark::RegisterBenchmark("json.parse_5kb/ours",
                                 [=](benchmark::State& s) { ParseOurs(s, SmallText(), small); });
    benchmark::RegisterBenchmark("json.parse_5kb/rapidjson",
                                 [=](benchmark::State& s) { ParsePeer(s, SmallText(), small); });
    // The large rows also report the heap their parsed document holds.
    benchmark::RegisterBenchmark("json.parse_1mb/ours", [=](benchmark::State& s) {
        ParseOurs(s, LargeText(), large);
        bench::ReportHeap(s, [] { return std::make_unique<meru::CJsonObject>(LargeText()); });
    });
    benchmark::RegisterBenchmark("json.parse_1mb/rapidjson", [=](benchmark::State& s) {
        ParsePeer(s, LargeText(), large);
        bench::ReportHeap(s, [] {
            auto document = std::make_unique<PeerDocument>();
            document->Parse(LargeText().c_str());
            return document;
        });
    });
    const std::string printSmall = "JSON print (compact), 5 KB start configuration";
    const std::string printLarge = "JSON print (compact), 1.1 MB array of configurations";
    benchmark::RegisterBenchmark(
        "json.print_5kb/ours", [=](benchmark::State& s) { PrintOurs(s, SmallText(), printSmall); });
    benchmark::RegisterBenchmark("json.print_5kb/rapidjson", [=](benchmark::State& s) {
        PrintPeer(s, SmallText(), printSmall);
    });
    benchmark::RegisterBenchmark(
        "json.print_1mb/ours", [=](benchmark::State& s) { PrintOurs(s, LargeText(), printLarge); });
    benchmark::RegisterBenchmark("json.print_1mb/rapidjson", [=](benchmark::State& s) {
        PrintPeer(s, LargeText(), printLarge);
    });
    for (const int64_t count : {1000, 10000, 100000}) {
        const std::string stem = "json.add_get_" + std::to_string(count);
        benchmark::RegisterBenchmark((stem + "/ours").c_str(),
                                     [=](benchmark::State& s) { AddGetOurs(s, count); });
        benchmark::RegisterBenchmark((stem + "/rapidjson").c_str(),
                                     [=](benchmark::State& s) { AddGetPeer(s, count); });
    }
    return true;
}();

}  // namespace
