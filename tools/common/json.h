// The tools' JSON value: nlohmann's ordered value, so members keep their order and 64-bit
// integers stay exact. Read strictly with a nesting bound; printed in the tools' layouts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace tafjson {

using Json = nlohmann::ordered_json;

// Deepest JSON nesting the reader accepts: a TAF tree at the codec's own depth bound takes
// at most three JSON levels per TAF level, and 400 levels stay far inside a 1 MiB stack for
// the code that walks the value.
inline constexpr int kMaxJsonDepth = 400;

struct JsonError {
    std::optional<std::size_t> offset;  // where the text stopped being JSON, when it did
    std::string message;
};

// Strict RFC 8259 JSON, without duplicate member names; on failure `error` says why.
bool parseJson(std::string_view text, Json& value, JsonError& error);

enum class JsonLayout {
    // An object stays on one line up to its nested containers, an array of scalars on one
    // line, and any other array puts each item on a line of its own, indented by two spaces
    // per level: each TAF field starts a line.
    Lines,
    // Everything on one line, as in a trace of one JSON object per line.
    OneLine,
};

// The text ends with a line break. Reals print as their shortest text that reads back as
// the same double, always with a '.' or an exponent so they never read back as integers.
std::string printJson(const Json& value, JsonLayout layout = JsonLayout::Lines);

// A finite float held as the double of its shortest text, so that it prints as that text.
Json floatJson(float value);

// Exact conversions of a number; false when it is not one or does not fit.
bool toInt64(const Json& value, std::int64_t& number);
bool toDouble(const Json& value, double& number);
bool toFloat(const Json& value, float& number);

// The member named `key` of an object, or null.
const Json* findMember(const Json& object, const std::string& key);

}  // namespace tafjson
