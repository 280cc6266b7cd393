// Readable one-line rendering of TAF values for log lines: records with their field names,
// lists, maps, quoted strings, byte vectors as their length and a short hex prefix.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "taf/codec.h"

namespace taf {

// Bytes shown before a byte vector's rendering is cut short.
inline constexpr std::size_t kRenderedBytePrefix = 8;

void renderInteger(std::string& out, std::int64_t value);
void renderDouble(std::string& out, double value);
// Quoted; quotes, backslashes and control bytes escaped.
void renderString(std::string& out, std::string_view text);
// "<N bytes: 0a0b...>", at most kRenderedBytePrefix bytes shown.
void renderBytes(std::string& out, std::span<const std::uint8_t> bytes);
inline constexpr std::string_view kHiddenValue = "<hidden>";

template <class T>
void renderTo(std::string& out, const T& value) {
    if constexpr (std::is_same_v<T, bool>) {
        out += value ? "true" : "false";
    } else if constexpr (TafInteger<T>) {
        renderInteger(out, value);
    } else if constexpr (std::is_same_v<T, float> || std::is_same_v<T, double>) {
        renderDouble(out, value);
    } else if constexpr (std::is_same_v<T, std::string>) {
        renderString(out, value);
    } else if constexpr (std::is_same_v<T, Bytes>) {
        renderBytes(out, value);
    } else if constexpr (TafList<T>) {
        out += '[';
        const char* separator = "";
        for (const auto& element : value) {
            out += separator;
            renderTo<typename T::value_type>(out, element);
            separator = ", ";
        }
        out += ']';
    } else if constexpr (TafMap<T>) {
        out += '{';
        const char* separator = "";
        for (const auto& [key, mapped] : value) {
            out += separator;
            renderTo(out, key);
            out += ": ";
            renderTo(out, mapped);
            separator = ", ";
        }
        out += '}';
    } else if constexpr (Record<T>) {
        out += kRecordTable<T>.name;
        out += '{';
        const char* separator = "";
        forEachField(value, [&](const FieldInfo& field, const auto& member) {
            out += separator;
            out += field.name;
            out += '=';
            if (field.secret) {
                out += kHiddenValue;
            } else {
                renderTo(out, member);
            }
            separator = ", ";
        });
        out += '}';
    } else {
        static_assert(kUnsupportedKind<T>, "not a TAF field kind");
    }
}

template <class T>
std::string render(const T& value) {
    std::string out;
    renderTo(out, value);
    return out;
}

}  // namespace taf
