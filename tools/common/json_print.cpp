// The tools' JSON layouts. Strings, integers and literals print as nlohmann writes them; the
// layout and the text of reals are the tools' own (nlohmann writes 1e15 as
// 1000000000000000.0 and rounds no differently, but the documented outputs use the
// shortest form).
#include <charconv>

#include "common/json.h"

namespace tafjson {
namespace {

void printReal(std::string& out, double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    const std::string_view written(text, static_cast<std::size_t>(end - text));
    out += written;
    if (written.find_first_of(".eE") == std::string_view::npos) {
        out += ".0";
    }
}

void printScalar(std::string& out, const Json& value) {
    if (value.is_number_float()) {
        printReal(out, value.get<double>());
    } else {
        // Bytes that are not UTF-8 print as U+FFFD rather than throw.
        out += value.dump(-1, ' ', false, Json::error_handler_t::replace);
    }
}

void print(std::string& out, const Json& value, int indent, JsonLayout layout) {
    if (value.is_object()) {
        // Members stay on the object's line; a nested container opens there and closes at
        // the object's indentation.
        out += '{';
        const char* separator = "";
        for (const auto& [key, member] : value.items()) {
            out += separator;
            printScalar(out, Json(key));
            out += ": ";
            print(out, member, indent, layout);
            separator = ", ";
        }
        out += '}';
        return;
    }
    if (!value.is_array()) {
        printScalar(out, value);
        return;
    }
    bool scalarsOnly = true;
    for (const Json& item : value) {
        scalarsOnly = scalarsOnly && !item.is_structured();
    }
    const bool oneLine = scalarsOnly || layout == JsonLayout::OneLine;
    out += '[';
    const std::string inner(2 * static_cast<std::size_t>(indent + 1), ' ');
    const char* separator = oneLine ? "" : "\n";
    for (const Json& item : value) {
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
}

}  // namespace

std::string printJson(const Json& value, JsonLayout layout) {
    std::string out;
    print(out, value, 0, layout);
    out += '\n';
    return out;
}

}  // namespace tafjson
