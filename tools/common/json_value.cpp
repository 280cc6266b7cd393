// JSON values and the exact conversion of their numbers.
#include "common/json_value.h"

#include <charconv>
#include <system_error>

namespace tafjson {
namespace {

// Keeps a formatted real recognisable as one, so that it never reads back as an integer.
std::string markAsReal(const char* begin, const char* end) {
    std::string text(begin, end);
    if (text.find_first_of(".eE") == std::string::npos) {
        text += ".0";
    }
    return text;
}

template <class Number>
bool convert(const std::string& text, Number& value) {
    Number parsed{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error != std::errc() || end != text.data() + text.size()) {
        return false;
    }
    value = parsed;
    return true;
}

}  // namespace

JsonValue JsonValue::boolean(bool value) {
    JsonValue v;
    v.kind_ = Kind::Bool;
    v.flag_ = value;
    return v;
}

JsonValue JsonValue::integer(std::int64_t value) {
    return numberText(std::to_string(value));
}

JsonValue JsonValue::real(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return numberText(markAsReal(text, result.ptr));
}

JsonValue JsonValue::realFloat(float value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return numberText(markAsReal(text, result.ptr));
}

JsonValue JsonValue::numberText(std::string text) {
    JsonValue v;
    v.kind_ = Kind::Number;
    v.text_ = std::move(text);
    return v;
}

JsonValue JsonValue::string(std::string value) {
    JsonValue v;
    v.kind_ = Kind::String;
    v.text_ = std::move(value);
    return v;
}

JsonValue JsonValue::array(Array items) {
    JsonValue v;
    v.kind_ = Kind::Array;
    v.items_ = std::move(items);
    return v;
}

JsonValue JsonValue::object(Object members) {
    JsonValue v;
    v.kind_ = Kind::Object;
    v.members_ = std::move(members);
    return v;
}

bool JsonValue::toInt64(std::int64_t& value) const {
    return kind_ == Kind::Number && text_.find_first_of(".eE") == std::string::npos &&
           convert(text_, value);
}

bool JsonValue::toDouble(double& value) const {
    return kind_ == Kind::Number && convert(text_, value);
}

bool JsonValue::toFloat(float& value) const {
    return kind_ == Kind::Number && convert(text_, value);
}

const JsonValue* JsonValue::find(std::string_view key) const {
    for (const auto& [name, value] : members_) {
        if (name == key) {
            return &value;
        }
    }
    return nullptr;
}

JsonValue& JsonValue::add(std::string key, JsonValue value) {
    members_.emplace_back(std::move(key), std::move(value));
    return members_.back().second;
}

}  // namespace tafjson
