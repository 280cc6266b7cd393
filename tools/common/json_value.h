// A small JSON value for the tools: numbers keep their exact text, so 64-bit integers and
// doubles pass through without rounding; objects keep their member order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tafjson {

// Deepest JSON nesting the parser follows: a TAF tree at the codec's own depth bound takes
// at most three JSON levels per TAF level, and 400 levels stay far inside a 1 MiB stack.
inline constexpr int kMaxJsonDepth = 400;

class JsonValue {
public:
    enum class Kind { Null, Bool, Number, String, Array, Object };
    using Array = std::vector<JsonValue>;
    using Member = std::pair<std::string, JsonValue>;
    using Object = std::vector<Member>;

    JsonValue() = default;
    static JsonValue boolean(bool value);
    static JsonValue integer(std::int64_t value);
    // Shortest text that reads back as the same double (finite values only).
    static JsonValue real(double value);
    // Shortest text that reads back as the same float (finite values only).
    static JsonValue realFloat(float value);
    // A number token as the parser found it; the caller has checked its grammar.
    static JsonValue numberText(std::string text);
    static JsonValue string(std::string value);
    static JsonValue array(Array items = {});
    static JsonValue object(Object members = {});

    Kind kind() const { return kind_; }
    bool isScalar() const { return kind_ != Kind::Array && kind_ != Kind::Object; }
    bool asBool() const { return flag_; }
    // The string's bytes, or the number's text.
    const std::string& text() const { return text_; }

    // Exact conversions of a number; false when the text is not one or does not fit.
    bool toInt64(std::int64_t& value) const;
    bool toDouble(double& value) const;
    bool toFloat(float& value) const;

    const Array& items() const { return items_; }
    Array& items() { return items_; }
    const Object& members() const { return members_; }
    const JsonValue* find(std::string_view key) const;
    JsonValue& add(std::string key, JsonValue value);

private:
    Kind kind_ = Kind::Null;
    bool flag_ = false;
    std::string text_;
    Array items_;
    Object members_;
};

struct JsonError {
    std::size_t offset = 0;
    std::string message;
};

// Strict RFC 8259 JSON; on failure `error` says where and why.
bool parseJson(std::string_view text, JsonValue& value, JsonError& error);

enum class JsonLayout {
    // An object stays on one line up to its nested containers, an array of scalars on one
    // line, and any other array puts each item on a line of its own, indented by two spaces
    // per level: each TAF field starts a line.
    Lines,
    // Everything on one line, as in a trace of one JSON object per line.
    OneLine,
};

// The text ends with a line break.
std::string printJson(const JsonValue& value, JsonLayout layout = JsonLayout::Lines);

}  // namespace tafjson
