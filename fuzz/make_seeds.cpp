// Writes the seed corpora under fuzz/corpus/: sample records encoded as each target reads them.
// Usage: fuzz_make_seeds FUZZ_DIR. The seeds are checked in; run it again when a target's input
// layout changes.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <type_traits>

#include "common/json.h"
#include "common/taf_tree_json.h"
#include "plugin/engine_envelope.h"
#include "plugin/engine_messages.h"
#include "taf/records/crown_game.h"
#include "taf/records/live_pushes.h"
#include "taf/records/start_config.h"
#include "taf/server_call.h"

namespace {

namespace fs = std::filesystem;

struct SeedWriter {
    fs::path folder;
    int count = 0;

    void Write(const taf::Bytes& bytes) {
        fs::create_directories(folder);
        char name[16];
        std::snprintf(name, sizeof name, "seed-%02d", count++);
        std::ofstream(folder / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    void Write(std::string_view text) { Write(taf::Bytes(text.begin(), text.end())); }
    // The selector byte of a table-driven target, then the bytes of that row.
    void Write(int selector, const taf::Bytes& bytes) {
        taf::Bytes seed{static_cast<std::uint8_t>(selector)};
        seed.insert(seed.end(), bytes.begin(), bytes.end());
        Write(seed);
    }
};

// A reply to servant/function with `returnValue` and, when given, `response` under "tRsp".
template <class Rsp>
taf::Bytes Reply(std::int32_t returnValue, const Rsp* response, std::int16_t version = 2) {
    taf::UniPacket packet;
    packet.setVersion(version);
    packet.packet().sServantName = "wupui";
    packet.packet().sFuncName = "function";
    packet.packet().iRequestId = 7;
    packet.put(taf::kReturnAttribute, returnValue);
    if (response != nullptr) {
        packet.put(taf::kResponseAttribute, *response);
    }
    taf::Bytes frame;
    packet.encode(frame);
    return frame;
}

MERU::VirtualCrownGameDataNotify SampleCrownData() {
    MERU::VirtualCrownGameDataNotify notice;
    notice.vCrownInfo.resize(2);
    return notice;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: fuzz_make_seeds FUZZ_DIR\n", stderr);
        return 2;
    }
    const fs::path corpus = fs::path(argv[1]) / "corpus";
    fs::remove_all(corpus);

    SeedWriter envelope{corpus / "engine_envelope"};
    envelope.Write(kinetra::EncodeEngineEnvelope(kinetra::number(kinetra::FromEngine::kOpenState),
                                                 taf::toBytes(MeruKinetra::OpenStateMsg{})));
    envelope.Write(kinetra::EncodeEngineEnvelope(-5, taf::Bytes{1, 2, 3}));
    envelope.Write(kinetra::EncodeEngineEnvelope(0, {}));

    // One seed per inbound record, in the order the target counts them.
    SeedWriter payload{corpus / "engine_payload"};
    std::apply(
        [&](const auto&... row) {
            const auto visit = [&](const auto& one) {
                using Row = std::remove_cvref_t<decltype(one)>;
                if constexpr (std::is_same_v<decltype(Row::type), kinetra::FromEngine> &&
                              !std::is_void_v<typename Row::PayloadRecord>) {
                    payload.Write(payload.count, taf::toBytes(typename Row::PayloadRecord{}));
                }
            };
            (visit(row), ...);
        },
        kinetra::kEngineMessages);

    SeedWriter reply{corpus / "server_reply"};
    const MERU::GetConfigRsp config{};
    reply.Write(0, Reply(0, &config));
    reply.Write(0, Reply(0, &config, 3));
    const MERU::GetVirtualCrownGameOrnamentRsp ornaments{};
    reply.Write(11, Reply(0, &ornaments));
    reply.Write(15, Reply<MERU::GetConfigRsp>(-3, nullptr));

    SeedWriter pass{corpus / "pass_through"};
    const taf::Bytes request = taf::encodeRequest("wupui", "function", 41, MERU::GetConfigReq{});
    taf::Bytes exchange{static_cast<std::uint8_t>(request.size())};
    exchange.insert(exchange.end(), request.begin(), request.end());
    const taf::Bytes response = Reply(0, &config);
    exchange.insert(exchange.end(), response.begin(), response.end());
    pass.Write(exchange);

    SeedWriter push{corpus / "push"};
    push.Write(0, taf::toBytes(MERU::MessageNotice{}));
    push.Write(1, taf::toBytes(MERU::SendItemSubBroadcastPacket{}));
    push.Write(2, taf::toBytes(SampleCrownData()));
    push.Write(6, taf::Bytes{0x0c});

    SeedWriter coreJson{corpus / "core_json"};
    coreJson.Write(R"({"imgurl":[{"image":"a.png","jump":"https://x/"}],"tip":["one","two"]})");
    coreJson.Write(R"([{"url":"u","md5":"0f","version":"1.2"},{"url":"v"}])");
    coreJson.Write(
        R"({"n":-12,"big":18446744073709551615,"d":1.5e-3,"s":"\u00e9\n","b":[true,false,null]})");

    // The tools' JSON: a dumped tree, and the field kinds the dump form has.
    const taf::Bytes crownBytes = taf::toBytes(SampleCrownData());
    std::vector<tafjson::TafField> tree;
    tafjson::decodeTree(crownBytes, tree);
    SeedWriter toolsJson{corpus / "tools_json"};
    toolsJson.Write(tafjson::printJson(tafjson::treeToJson(tree)));
    toolsJson.Write(
        R"([{"tag":0,"type":"float","hex":"7fc00000"},{"tag":1,"type":"double","value":1e+300},)"
        R"({"tag":2,"type":"map","entries":[[{"tag":0,"type":"string","text":"k"},)"
        R"({"tag":1,"type":"bytes","hex":"00ff"}]]},{"tag":3,"type":"int","value":-1}])");

    SeedWriter tafTree{corpus / "taf_tree"};
    tafTree.Write(crownBytes);
    tafTree.Write(response);
    tafTree.Write(taf::toBytes(MeruKinetra::StartConfigMsg{}));
    return 0;
}
