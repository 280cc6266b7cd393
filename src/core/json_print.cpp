// The JSON printer: walks the tree with an explicit stack and writes compact or formatted text.
#include "core/json_print.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

#include "core/internal/json_print_buffer.h"

namespace meru {
namespace {

// Bytes 8, 9, 10, 12 and 13 have short escapes; the rest below 32 are written as \u00XX.
char short_escape(unsigned char c) {
    switch (c) {
        case '"':
            return '"';
        case '\\':
            return '\\';
        case '\b':
            return 'b';
        case '\t':
            return 't';
        case '\n':
            return 'n';
        case '\f':
            return 'f';
        case '\r':
            return 'r';
        default:
            return '\0';
    }
}

// Bytes that print as themselves inside quotes: all but the NUL, the controls, '"' and '\'.
constexpr std::array<bool, 256> kPlainBytes = [] {
    std::array<bool, 256> plain{};
    for (size_t c = 32; c < 256; ++c) {
        plain[c] = c != '"' && c != '\\';
    }
    return plain;
}();

// Plain runs are appended whole; only the bytes that need escapes are handled one by one.
void print_string(const char* text, JsonTextBuffer& out) {
    if (text == nullptr) {
        out.Append("\"\"", 2);
        return;
    }
    out.Append('"');
    const char* run = text;
    for (const char* p = text;; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (kPlainBytes[c]) {
            continue;
        }
        out.Append(run, static_cast<size_t>(p - run));
        if (c == '\0') {
            break;
        }
        if (const char escape = short_escape(c); escape != '\0') {
            const char pair[] = {'\\', escape};
            out.Append(pair, sizeof pair);
        } else {
            static constexpr char kHex[] = "0123456789abcdef";
            const char unicode[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
            out.Append(unicode, sizeof unicode);
        }
        run = p + 1;
    }
    out.Append('"');
}

// Signed values as "%d"/"%lld", unsigned as "%u"/"%llu": the digits are the same either way.
std::string_view int_text(const json_node* node, char* text) {
    const auto result =
        node->sign == json_signed
            ? std::to_chars(text, text + kJsonNumberTextMax, node->valueint)
            : std::to_chars(text, text + kJsonNumberTextMax, static_cast<uint64_t>(node->valueint));
    return {text, static_cast<size_t>(result.ptr - text)};
}

// Integral values without decimals ("%.0f"), all others with six ("%f", "%lf"); fixed notation
// never truncates, and unlike printf it ignores the host's locale. What prints must read back to
// the same text:
// - whole values outside [-2^63, 2^64) would read back as saturated integers, so they print in
//   the shortest exponent form that reads back exactly ("1e+21"), which reads as a double again;
// - zero, and values that show as zero at six decimals, print without a minus sign, since "-0"
//   reads back as the integer 0;
// - a value that is not a number never prints: infinities print as the largest finite double of
//   their sign (what the parser reads out-of-range numbers as) and NaN as 0.
std::string_view double_text(double value, char* text) {
    constexpr double kTwoPow63 = 9223372036854775808.0;
    constexpr double kTwoPow64 = 18446744073709551616.0;
    value = json_finite(value);
    if (value == 0) {
        value = 0;
    }
    const bool integral =
        std::fabs(std::floor(value) - value) <= std::numeric_limits<double>::epsilon();
    std::to_chars_result result{};
    if (integral && (value >= kTwoPow64 || value < -kTwoPow63)) {
        result =
            std::to_chars(text, text + kJsonNumberTextMax, value, std::chars_format::scientific);
    } else {
        result = std::to_chars(text, text + kJsonNumberTextMax, value, std::chars_format::fixed,
                               integral ? 0 : 6);
    }
    const char* begin = text;
    if (std::string_view(text, static_cast<size_t>(result.ptr - text)) == "-0.000000") {
        ++begin;
    }
    return {begin, static_cast<size_t>(result.ptr - begin)};
}

void print_number(const json_node* node, JsonTextBuffer& out) {
    char text[kJsonNumberTextMax];
    const std::string_view printed = json_number_text(node, text);
    out.Append(printed.data(), printed.size());
}

class Printer {
public:
    explicit Printer(bool formatted) : formatted_(formatted) {}
    // Writes the tree into the buffer; false when an allocation failed.
    bool Run(const json_node* root);
    JsonTextBuffer& text() { return out_; }

private:
    bool IsObject(const json_node* node) const { return json_type_of(node) == json_object; }
    // Writes a scalar or an empty container whole; opens a container with content.
    bool Open(const json_node* node);
    void Close(const json_node* container);
    // Written before each value inside a container: the separator and, in objects, the key.
    void Lead(const json_node* container, const json_node* item, bool first);
    void Indent(size_t depth) { out_.AppendRepeated('\t', depth); }

    bool formatted_;
    JsonTextBuffer out_;
    JsonNodeStack open_;
};

bool Printer::Run(const json_node* root) {
    const json_node* node = root;
    while (!out_.failed()) {
        if (!Open(node)) {
            return false;
        }
        if (json_first_child(node) != nullptr) {
            node = node->child;
            Lead(open_.Top(), node, true);
            continue;
        }
        while (open_.size() > 0 && node->next == nullptr) {
            node = open_.Pop();
            Close(node);
        }
        if (open_.size() == 0) {
            return !out_.failed();
        }
        node = node->next;
        Lead(open_.Top(), node, false);
    }
    return false;
}

bool Printer::Open(const json_node* node) {
    switch (json_type_of(node)) {
        case json_false:
            out_.Append("false", 5);
            return true;
        case json_true:
            out_.Append("true", 4);
            return true;
        case json_int:
        case json_double:
            print_number(node, out_);
            return true;
        case json_string:
            print_string(node->valuestring, out_);
            return true;
        case json_array:
        case json_object:
            break;
        default:
            out_.Append("null", 4);
            return true;
    }
    const bool object = IsObject(node);
    if (node->child == nullptr) {
        if (object && formatted_) {
            out_.Append("{\n", 2);
            Indent(open_.size());
            out_.Append('}');
        } else {
            out_.Append(object ? "{}" : "[]", 2);
        }
        return true;
    }
    out_.Append(object ? '{' : '[');
    if (object && formatted_) {
        out_.Append('\n');
    }
    return open_.Push(node);
}

void Printer::Close(const json_node* container) {
    if (!IsObject(container)) {
        out_.Append(']');
        return;
    }
    if (formatted_) {
        out_.Append('\n');
        Indent(open_.size());
    }
    out_.Append('}');
}

void Printer::Lead(const json_node* container, const json_node* item, bool first) {
    if (!IsObject(container)) {
        if (!first) {
            out_.Append(formatted_ ? ", " : ",", formatted_ ? 2 : 1);
        }
        return;
    }
    if (!first) {
        out_.Append(formatted_ ? ",\n" : ",", formatted_ ? 2 : 1);
    }
    if (formatted_) {
        Indent(open_.size());
    }
    print_string(item->key, out_);
    out_.Append(formatted_ ? ":\t" : ":", formatted_ ? 2 : 1);
}

}  // namespace

std::string_view json_number_text(const json_node* node, char* text) {
    const std::string_view printed = json_type_of(node) == json_int
                                         ? int_text(node, text)
                                         : double_text(node->valuedouble, text);
    text[static_cast<size_t>(printed.data() - text) + printed.size()] = '\0';
    return printed;
}

char* json_print(const json_node* node, bool formatted, size_t* length) {
    Printer printer(formatted);
    return printer.Run(node) ? printer.text().Release(length) : nullptr;
}

bool json_print_to(const json_node* node, bool formatted, std::string& out) {
    Printer printer(formatted);
    return printer.Run(node) && printer.text().CopyTo(out);
}

}  // namespace meru
