// JSON printer: an object on one line, an array of containers one item per line.
#include <cstdint>

#include "common/json_value.h"

namespace tafjson {
namespace {

void printString(std::string& out, const std::string& text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    out += "\\u00";
                    out += kHex[c >> 4];
                    out += kHex[c & 0x0F];
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

void print(std::string& out, const JsonValue& value, int indent, JsonLayout layout) {
    switch (value.kind()) {
        case JsonValue::Kind::Null:
            out += "null";
            return;
        case JsonValue::Kind::Bool:
            out += value.asBool() ? "true" : "false";
            return;
        case JsonValue::Kind::Number:
            out += value.text();
            return;
        case JsonValue::Kind::String:
            printString(out, value.text());
            return;
        case JsonValue::Kind::Object: {
            // Members stay on the object's line; a nested container opens there and closes
            // at the object's indentation.
            out += '{';
            const char* separator = "";
            for (const auto& [key, member] : value.members()) {
                out += separator;
                printString(out, key);
                out += ": ";
                print(out, member, indent, layout);
                separator = ", ";
            }
            out += '}';
            return;
        }
        case JsonValue::Kind::Array: {
            bool scalarsOnly = true;
            for (const auto& item : value.items()) {
                scalarsOnly = scalarsOnly && item.isScalar();
            }
            const bool oneLine = scalarsOnly || layout == JsonLayout::OneLine;
            out += '[';
            const std::string inner(2 * static_cast<std::size_t>(indent + 1), ' ');
            const char* separator = oneLine ? "" : "\n";
            for (const auto& item : value.items()) {
                out += separator;
                if (!oneLine) {
                    out += inner;
                }
                print(out, item, indent + 1, layout);
                separator = oneLine ? ", " : ",\n";
            }
            if (!oneLine) {
                out += '\n';
                out.append(2 * static_cast<std::size_t>(indent), ' ');
            }
            out += ']';
            return;
        }
    }
}

}  // namespace

std::string printJson(const JsonValue& value, JsonLayout layout) {
    std::string out;
    print(out, value, 0, layout);
    out += '\n';
    return out;
}

}  // namespace tafjson
