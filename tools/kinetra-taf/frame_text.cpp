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

std::string Failure(const std::string& what, taf::Status status) {
    return what + ": status " + std::to_string(status) + " (" + taf::statusName(status) + ")";
}

std::string Text(std::string_view bytes) {
    return tafjson::readableText(
        {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

// Length of the well-formed UTF-8 sequence at the start of `bytes`, 0 when there is none.
std::size_t Utf8Length(std::string_view bytes) {
    const auto lead = static_cast<std::uint8_t>(bytes[0]);
    if (lead < 0x80) {
        return 1;
    }
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                              : 0;
    if (length == 0 || bytes.size() < length) {
        return 0;
    }
    // The second byte's range excludes overlong forms, surrogates and code points past U+10FFFF.
    const auto second = static_cast<std::uint8_t>(bytes[1]);
    const std::uint8_t low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const std::uint8_t high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (second < low || second > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if ((static_cast<std::uint8_t>(bytes[i]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

// A map key as a JSON member name that no other key shares: a backslash is doubled and a
// byte outside well-formed UTF-8 is written as \xHH, so keys that differ only in such bytes
// stay apart and each name reads back to its key's bytes.
std::string KeyText(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = Utf8Length(bytes.substr(at));
        if (length == 0) {
            const auto byte = static_cast<std::uint8_t>(bytes[at++]);
            text += "\\x";
            text += kHex[byte >> 4];
            text += kHex[byte & 0x0F];
        } else {
            text += bytes.substr(at, length);
            text += bytes[at] == '\\' ? "\\" : "";
            at += length;
        }
    }
    return text;
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
            object[KeyText(key)] = HeaderValue(mapped);
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
