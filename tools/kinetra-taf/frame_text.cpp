// Decoding a frame step by step (length, header, body, values) so that each failure is named
// and everything read before it is still shown.
#include "frame_text.h"

#include <optional>
#include <vector>

#include "common/hex_text.h"
#include "common/taf_tree_json.h"
#include "dump_text.h"
#include "taf/render.h"
#include "taf/uni_packet.h"

namespace taftool {
namespace {

using tafjson::Json;

struct Attribute {
    std::string name;
    std::optional<std::string> type;  // version-2 bodies only
    std::vector<tafjson::TafField> value;
    tafjson::TreeDecodeResult decoded;
};

// The header and body readers name what is missing where the tree decoder only has counts.
const char* FrameStatusText(taf::Status status) {
    switch (status) {
        case taf::kFrameTooShort:
            return "fewer than the 4 bytes of the frame length";
        case taf::kRequiredMissing:
            return "a required field is missing";
        default:
            return DescribeStatus(status);
    }
}

std::string Failure(const std::string& what, taf::Status status) {
    return what + ": status " + std::to_string(status) + " (" + FrameStatusText(status) + ")";
}

std::string Text(std::string_view bytes) {
    return tafjson::readableText(
        {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

template <class T>
Json HeaderValue(const T& value) {
    if constexpr (taf::TafInteger<T>) {
        return value;
    } else if constexpr (std::is_same_v<T, std::string>) {
        return Text(value);
    } else if constexpr (std::is_same_v<T, taf::Bytes>) {
        return tafjson::toHex(value);
    } else {
        Json object = Json::object();
        for (const auto& [key, mapped] : value) {
            object[Text(key)] = HeaderValue(mapped);
        }
        return object;
    }
}

std::string HeaderText(const taf::RequestPacket& packet) {
    std::string out = "header\n";
    taf::forEachField(packet, [&](const taf::FieldInfo& field, const auto& member) {
        out += "  ";
        out += field.name;
        out += ' ';
        taf::renderTo(out, member);
        out += '\n';
    });
    return out;
}

Json HeaderJson(const taf::RequestPacket& packet) {
    Json header = Json::object();
    taf::forEachField(packet, [&](const taf::FieldInfo& field, const auto& member) {
        header[std::string(field.name)] = HeaderValue(member);
    });
    return header;
}

std::vector<Attribute> Attributes(const taf::UniAttribute& body) {
    std::vector<Attribute> attributes;
    const auto decode = [&](const std::string& name, std::optional<std::string> type,
                            const taf::Bytes& bytes) {
        Attribute& attribute = attributes.emplace_back(Attribute{name, std::move(type), {}, {}});
        attribute.decoded = tafjson::decodeTree(bytes, attribute.value);
    };
    for (const auto& [name, types] : body.values2()) {
        for (const auto& [type, bytes] : types) {
            decode(name, type, bytes);
        }
    }
    for (const auto& [name, bytes] : body.values3()) {
        decode(name, std::nullopt, bytes);
    }
    return attributes;
}

std::string AttributeLabel(const Attribute& attribute) {
    std::string label = "attribute ";
    taf::renderString(label, attribute.name);
    if (attribute.type) {
        label += " type ";
        taf::renderString(label, *attribute.type);
    }
    return label;
}

}  // namespace

FrameDescription DescribeFrame(std::span<const std::uint8_t> frame, bool json) {
    FrameDescription description;
    if (frame.size() < taf::kFrameLengthSize) {
        description.failure = Failure("the frame has no room for its length", taf::kFrameTooShort);
        return description;
    }
    std::uint32_t length = 0;
    for (std::size_t i = 0; i < taf::kFrameLengthSize; ++i) {
        length = length << 8 | frame[i];
    }
    taf::RequestPacket packet;
    taf::TafInputStream in(frame.subspan(taf::kFrameLengthSize));
    const taf::Status header = taf::readFrom(in, packet);
    taf::UniAttribute body;
    const bool version3 = packet.iVersion == 3;
    body.setVersion(version3 ? 3 : 2);
    taf::Status bodyStatus = taf::kOk;
    if (header >= 0) {
        in.reset(packet.sBuffer);
        bodyStatus = body.readBody(in, version3);
    }
    const std::vector<Attribute> attributes = Attributes(body);

    if (header < 0) {
        description.failure = Failure("cannot decode the packet header", header);
    } else if (bodyStatus < 0) {
        description.failure = Failure("cannot decode the body", bodyStatus);
    }
    for (const Attribute& attribute : attributes) {
        if (description.failure.empty() && attribute.decoded.status < 0) {
            description.failure =
                Failure("cannot decode the value of " + AttributeLabel(attribute) +
                            " at byte offset " + std::to_string(attribute.decoded.errorOffset),
                        attribute.decoded.status);
        }
    }

    if (json) {
        Json values = Json::array();
        for (const Attribute& attribute : attributes) {
            Json item = {{"name", Text(attribute.name)}};
            if (attribute.type) {
                item["type"] = Text(*attribute.type);
            }
            item["value"] = tafjson::treeToJson(attribute.value);
            values.push_back(std::move(item));
        }
        const Json document = {
            {"length", length},
            {"size", frame.size()},
            {"header", HeaderJson(packet)},
            {"version", body.version()},
            {"attributes", std::move(values)},
        };
        description.output = tafjson::printJson(document);
        return description;
    }
    std::string& out = description.output;
    out = "length " + std::to_string(length) + ", " + std::to_string(frame.size()) + " bytes\n";
    out += HeaderText(packet);
    out += "body version " + std::to_string(body.version()) + ", " +
           std::to_string(attributes.size()) +
           (attributes.size() == 1 ? " attribute\n" : " attributes\n");
    for (const Attribute& attribute : attributes) {
        out += AttributeLabel(attribute) + '\n';
        out += DumpText(attribute.value);
    }
    return description;
}

}  // namespace taftool
