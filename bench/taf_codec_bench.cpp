// The TAF codec against protobuf on the same data: the 200-item gift-list reply encoded into a
// reused buffer, decoded into a reused and into a fresh record, and the user identity's round
// trip. Both sides' results are checked after the timed loop: each side's output, converted
// back to our record, must encode to exactly the bytes of the sample.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <type_traits>

#include "allocation_counter.h"
#include "counter_list_record.h"
#include "support/props_sample.h"
#include "taf/codec.h"
#include "taf_peer.pb.h"

namespace {

using google::protobuf::FieldDescriptor;
using google::protobuf::Message;
using google::protobuf::Reflection;

constexpr int kGiftItems = 200;

// Our record into its protobuf twin and back, field by field through both sides' tables and
// protobuf's reflection. Only used outside the timed loops.
template <taf::Record T>
void ToPeer(const T& record, Message& message);
template <taf::Record T>
void FromPeer(const Message& message, T& record);

template <class Member>
void SetPeerField(const Member& value, Message& message, const FieldDescriptor* field) {
    const Reflection* reflection = message.GetReflection();
    if constexpr (std::is_same_v<Member, std::int64_t>) {
        reflection->SetInt64(&message, field, value);
    } else if constexpr (std::is_integral_v<Member>) {
        reflection->SetInt32(&message, field, value);
    } else if constexpr (std::is_same_v<Member, std::string>) {
        reflection->SetString(&message, field, value);
    } else if constexpr (taf::TafMap<Member>) {
        for (const auto& [key, mapped] : value) {
            Message* entry = reflection->AddMessage(&message, field);
            entry->GetReflection()->SetInt64(entry, entry->GetDescriptor()->map_key(), key);
            entry->GetReflection()->SetInt32(entry, entry->GetDescriptor()->map_value(), mapped);
        }
    } else if constexpr (taf::TafList<Member>) {
        for (const auto& element : value) {
            if constexpr (taf::Record<typename Member::value_type>) {
                ToPeer(element, *reflection->AddMessage(&message, field));
            } else if constexpr (std::is_same_v<typename Member::value_type, std::int64_t>) {
                reflection->AddInt64(&message, field, element);
            } else {
                reflection->AddInt32(&message, field, element);
            }
        }
    } else {
        ToPeer(value, *reflection->MutableMessage(&message, field));
    }
}

template <class Member>
void GetPeerField(const Message& message, const FieldDescriptor* field, Member& value) {
    const Reflection* reflection = message.GetReflection();
    if constexpr (std::is_same_v<Member, std::int64_t>) {
        value = reflection->GetInt64(message, field);
    } else if constexpr (std::is_integral_v<Member>) {
        value = static_cast<Member>(reflection->GetInt32(message, field));
    } else if constexpr (std::is_same_v<Member, std::string>) {
        value = reflection->GetString(message, field);
    } else if constexpr (taf::TafMap<Member>) {
        for (int i = 0; i < reflection->FieldSize(message, field); ++i) {
            const Message& entry = reflection->GetRepeatedMessage(message, field, i);
            const Reflection* entries = entry.GetReflection();
            value.emplace(entries->GetInt64(entry, entry.GetDescriptor()->map_key()),
                          entries->GetInt32(entry, entry.GetDescriptor()->map_value()));
        }
    } else if constexpr (taf::TafList<Member>) {
        using Element = typename Member::value_type;
        for (int i = 0; i < reflection->FieldSize(message, field); ++i) {
            if constexpr (taf::Record<Element>) {
                FromPeer(reflection->GetRepeatedMessage(message, field, i), value.emplace_back());
            } else if constexpr (std::is_same_v<Element, std::int64_t>) {
                value.push_back(reflection->GetRepeatedInt64(message, field, i));
            } else {
                value.push_back(reflection->GetRepeatedInt32(message, field, i));
            }
        }
    } else {
        FromPeer(reflection->GetMessage(message, field), value);
    }
}

const FieldDescriptor* PeerField(const Message& message, const taf::FieldInfo& info) {
    return message.GetDescriptor()->FindFieldByName(std::string(info.name));
}

template <taf::Record T>
void ToPeer(const T& record, Message& message) {
    taf::forEachField(record, [&](const taf::FieldInfo& info, const auto& member) {
        SetPeerField(member, message, PeerField(message, info));
    });
}

template <taf::Record T>
void FromPeer(const Message& message, T& record) {
    taf::forEachField(record, [&](const taf::FieldInfo& info, auto& member) {
        GetPeerField(message, PeerField(message, info), member);
    });
}

template <taf::Record T>
bool SameAsSample(const T& decoded, const taf::Bytes& sampleBytes) {
    return taf::toBytes(decoded) == sampleBytes;
}

template <taf::Record T>
bool PeerSameAsSample(const Message& decoded, const taf::Bytes& sampleBytes) {
    T record;
    FromPeer(decoded, record);
    return SameAsSample(record, sampleBytes);
}

// Times the loop body and reports the allocations of one iteration.
template <class Body>
void Run(benchmark::State& state, const char* row, Body&& body) {
    state.SetLabel(row);
    const bench::AllocationTotals before = bench::AllocationsSoFar();
    for (auto _ : state) {
        body();
    }
    const bench::AllocationTotals after = bench::AllocationsSoFar();
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["allocs"] = static_cast<double>(after.blocks - before.blocks) / iterations;
}

struct GiftListSample {
    MERU::GetPropsListRsp record = test::SampleGiftList(kGiftItems);
    taf::Bytes bytes = taf::toBytes(record);
    kinetra_bench::GetPropsListRsp peer;
    std::string peerBytes;

    GiftListSample() {
        ToPeer(record, peer);
        peer.SerializeToString(&peerBytes);
    }
};

const GiftListSample& GiftList() {
    static const GiftListSample sample;
    return sample;
}

// The integer-heavy shape: 200 items of 25 integers, 10 strings, two integer lists and a
// nested record of 11 integers.
struct CounterListSample {
    bench_records::CounterListRsp record = bench_records::SampleCounterList(kGiftItems);
    taf::Bytes bytes = taf::toBytes(record);
    kinetra_bench::CounterListRsp peer;
    std::string peerBytes;

    CounterListSample() {
        ToPeer(record, peer);
        peer.SerializeToString(&peerBytes);
    }
};

const CounterListSample& CounterList() {
    static const CounterListSample sample;
    return sample;
}

constexpr const char* kEncodeRow = "TAF encode, gift-list reply of 200 items, reused buffer";
constexpr const char* kDecodeReusedRow = "TAF decode, same reply, into a reused record";
constexpr const char* kDecodeFreshRow = "TAF decode, same reply, into a fresh record";
constexpr const char* kCounterReusedRow =
    "TAF decode, integer-heavy list of 200 items, into a reused record";
constexpr const char* kSmallRow = "TAF small record (user identity) encode + decode";

void EncodeReplyOurs(benchmark::State& state) {
    const auto& sample = GiftList();
    taf::TafOutputStream out;
    Run(state, kEncodeRow, [&] {
        out.reset();
        taf::writeTo(out, sample.record);
        benchmark::DoNotOptimize(out.data());
    });
    const taf::Bytes written = out.toBytes();
    if (written != sample.bytes) {
        state.SkipWithError("the encoding differs from the sample's bytes");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(written.size()));
}

void EncodeReplyPeer(benchmark::State& state) {
    const auto& sample = GiftList();
    std::string out;
    Run(state, kEncodeRow, [&] {
        sample.peer.SerializeToString(&out);
        benchmark::DoNotOptimize(out.data());
    });
    kinetra_bench::GetPropsListRsp decoded;
    if (!decoded.ParseFromString(out) ||
        !PeerSameAsSample<MERU::GetPropsListRsp>(decoded, sample.bytes)) {
        state.SkipWithError("protobuf's encoding does not carry the sample");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(out.size()));
}

// Decoding into a record that already holds a decoded list, as the plug-in's does after the
// first reply, for each sample (`sample` returns it, built on first use).
template <class Sample>
void DecodeReusedOurs(benchmark::State& state, const Sample& (*sample)(), const char* row) {
    const Sample& data = sample();
    decltype(data.record) record;
    bool ok = taf::fromBytes(data.bytes, record) == taf::kOk;
    Run(state, row, [&] {
        ok &= taf::fromBytes(data.bytes, record) == taf::kOk;
        benchmark::DoNotOptimize(record);
    });
    if (!ok || !SameAsSample(record, data.bytes)) {
        state.SkipWithError("the decoded record differs from the sample");
    }
}

template <class Sample>
void DecodeReusedPeer(benchmark::State& state, const Sample& (*sample)(), const char* row) {
    const Sample& data = sample();
    decltype(data.peer) message;
    bool ok = message.ParseFromString(data.peerBytes);
    Run(state, row, [&] {
        ok &= message.ParseFromString(data.peerBytes);
        benchmark::DoNotOptimize(message);
    });
    if (!ok || !PeerSameAsSample<decltype(data.record)>(message, data.bytes)) {
        state.SkipWithError("protobuf's decoded message differs from the sample");
    }
}

void DecodeReplyFreshOurs(benchmark::State& state) {
    const auto& sample = GiftList();
    bool ok = true;
    Run(state, kDecodeFreshRow, [&] {
        MERU::GetPropsListRsp record;
        ok &= taf::fromBytes(sample.bytes, record) == taf::kOk;
        benchmark::DoNotOptimize(record);
    });
    // Also the heap the decoded list holds.
    const auto record = bench::ReportHeap(state, [&] {
        auto decoded = std::make_unique<MERU::GetPropsListRsp>();
        ok &= taf::fromBytes(sample.bytes, *decoded) == taf::kOk;
        return decoded;
    });
    if (!ok || !SameAsSample(*record, sample.bytes)) {
        state.SkipWithError("the decoded record differs from the sample");
    }
}

void DecodeReplyFreshPeer(benchmark::State& state) {
    const auto& sample = GiftList();
    bool ok = true;
    Run(state, kDecodeFreshRow, [&] {
        kinetra_bench::GetPropsListRsp message;
        ok &= message.ParseFromString(sample.peerBytes);
        benchmark::DoNotOptimize(message);
    });
    const auto message = bench::ReportHeap(state, [&] {
        auto decoded = std::make_unique<kinetra_bench::GetPropsListRsp>();
        ok &= decoded->ParseFromString(sample.peerBytes);
        return decoded;
    });
    if (!ok || !PeerSameAsSample<MERU::GetPropsListRsp>(*message, sample.bytes)) {
        state.SkipWithError("protobuf's decoded message differs from the sample");
    }
}

void UserIdRoundTripOurs(benchmark::State& state) {
    const MERU::UserId id = test::SampleUserId();
    taf::TafOutputStream out;
    taf::TafInputStream in;
    MERU::UserId decoded;
    bool ok = true;
    Run(state, kSmallRow, [&] {
        out.reset();
        taf::writeTo(out, id);
        in.reset(out.view());
        ok &= taf::readFrom(in, decoded) == taf::kOk;
        benchmark::DoNotOptimize(decoded);
    });
    if (!ok || !(decoded == id)) {
        state.SkipWithError("the identity did not survive the round trip");
    }
}

void UserIdRoundTripPeer(benchmark::State& state) {
    const MERU::UserId id = test::SampleUserId();
    kinetra_bench::UserId message;
    ToPeer(id, message);
    std::string out;
    kinetra_bench::UserId decoded;
    bool ok = true;
    Run(state, kSmallRow, [&] {
        message.SerializeToString(&out);
        ok &= decoded.ParseFromString(out);
        benchmark::DoNotOptimize(decoded);
    });
    MERU::UserId back;
    FromPeer(decoded, back);
    if (!ok || !(back == id)) {
        state.SkipWithError("protobuf's identity did not survive the round trip");
    }
}

[[maybe_unused]] const bool kRegistered = [] {
    benchmark::RegisterBenchmark("taf.encode_reply_200.reused/ours", EncodeReplyOurs);
    benchmark::RegisterBenchmark("taf.encode_reply_200.reused/protobuf", EncodeReplyPeer);
    benchmark::RegisterBenchmark("taf.decode_reply_200.reused/ours",
                                 DecodeReusedOurs<GiftListSample>, GiftList, kDecodeReusedRow);
    benchmark::RegisterBenchmark("taf.decode_reply_200.reused/protobuf",
                                 DecodeReusedPeer<GiftListSample>, GiftList, kDecodeReusedRow);
    benchmark::RegisterBenchmark("taf.decode_counters_200.reused/ours",
                                 DecodeReusedOurs<CounterListSample>, CounterList,
                                 kCounterReusedRow);
    benchmark::RegisterBenchmark("taf.decode_counters_200.reused/protobuf",
                                 DecodeReusedPeer<CounterListSample>, CounterList,
                                 kCounterReusedRow);
    benchmark::RegisterBenchmark("taf.decode_reply_200.fresh/ours", DecodeReplyFreshOurs);
    benchmark::RegisterBenchmark("taf.decode_reply_200.fresh/protobuf", DecodeReplyFreshPeer);
    benchmark::RegisterBenchmark("taf.user_id.round_trip/ours", UserIdRoundTripOurs);
    benchmark::RegisterBenchmark("taf.user_id.round_trip/protobuf", UserIdRoundTripPeer);
    return true;
}();

}  // namespace
