// Strict JSON parser with a nesting bound; numbers are kept as their text.
#include <cstdint>

#include "common/json_value.h"
#include "core/text.h"

namespace tafjson {
namespace {

class Parser {
public:
    Parser(std::string_view text, JsonError& error) : text_(text), error_(error) {}

    bool parseDocument(JsonValue& value) {
        if (!parseValue(value, 0)) {
            return false;
        }
        skipSpace();
        return at_ == text_.size() || fail("unexpected text after the value");
    }

private:
    // Error texts are built out of line: the recursive functions keep small frames, since
    // sanitizer builds give every temporary string its own stack slot.
    [[gnu::noinline]] bool fail(const char* message, std::string_view detail = {}) {
        error_.offset = at_;
        error_.message = message;
        error_.message += detail;
        return false;
    }

    void skipSpace() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\n' || text_[at_] == '\r')) {
            ++at_;
        }
    }

    bool consume(char c) {
        skipSpace();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    bool consumeWord(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) {
            return false;
        }
        at_ += word.size();
        return true;
    }

    bool parseValue(JsonValue& value, int depth) {
        skipSpace();
        if (at_ == text_.size()) {
            return fail("unexpected end of input");
        }
        const char c = text_[at_];
        if (c == '{' || c == '[') {
            if (depth >= kMaxJsonDepth) {
                return fail("nested too deep");
            }
            return c == '{' ? parseObject(value, depth + 1) : parseArray(value, depth + 1);
        }
        return parseScalar(value);
    }

    [[gnu::noinline]] bool parseScalar(JsonValue& value) {
        if (text_[at_] == '"') {
            std::string s;
            if (!parseString(s)) {
                return false;
            }
            value = JsonValue::string(std::move(s));
            return true;
        }
        for (const bool truth : {true, false}) {
            if (consumeWord(truth ? "true" : "false")) {
                value = JsonValue::boolean(truth);
                return true;
            }
        }
        if (consumeWord("null")) {
            value = JsonValue();
            return true;
        }
        return parseNumber(value);
    }

    // Containers parse each item in place: no JsonValue on the stack of a recursion level.
    bool parseObject(JsonValue& value, int depth) {
        ++at_;
        value = JsonValue::object();
        if (consume('}')) {
            return true;
        }
        do {
            skipSpace();
            std::string key;
            if (at_ == text_.size() || text_[at_] != '"') {
                return fail("expected a member name");
            }
            if (!parseString(key)) {
                return false;
            }
            if (value.find(key) != nullptr) {
                return fail("duplicate member ", key);
            }
            if (!consume(':')) {
                return fail("expected ':'");
            }
            if (!parseValue(value.add(std::move(key), JsonValue()), depth)) {
                return false;
            }
        } while (consume(','));
        return consume('}') || fail("expected ',' or '}'");
    }

    bool parseArray(JsonValue& value, int depth) {
        ++at_;
        value = JsonValue::array();
        if (consume(']')) {
            return true;
        }
        do {
            if (!parseValue(value.items().emplace_back(), depth)) {
                return false;
            }
        } while (consume(','));
        return consume(']') || fail("expected ',' or ']'");
    }

    bool digits() {
        const std::size_t start = at_;
        while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') {
            ++at_;
        }
        return at_ > start;
    }

    bool parseNumber(JsonValue& value) {
        const std::size_t start = at_;
        consumeWord("-");
        if (consumeWord("0")) {
        } else if (!digits()) {
            at_ = start;
            return fail("expected a value");
        }
        if (consumeWord(".") && !digits()) {
            return fail("expected digits after '.'");
        }
        if (consumeWord("e") || consumeWord("E")) {
            if (!consumeWord("+")) {
                consumeWord("-");
            }
            if (!digits()) {
                return fail("expected digits in the exponent");
            }
        }
        value = JsonValue::numberText(std::string(text_.substr(start, at_ - start)));
        return true;
    }

    bool parseHex4(std::uint32_t& unit) {
        if (text_.size() - at_ < 4) {
            return fail("cut-short \\u escape");
        }
        unit = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[at_++];
            const int nibble = core::HexDigitValue(c);
            if (nibble < 0) {
                return fail("bad \\u escape");
            }
            unit = unit << 4 | static_cast<std::uint32_t>(nibble);
        }
        return true;
    }

    bool parseEscapedCodePoint(std::string& out) {
        std::uint32_t code = 0;
        if (!parseHex4(code)) {
            return false;
        }
        if (code >= 0xDC00 && code <= 0xDFFF) {
            return fail("lone low surrogate");
        }
        if (code >= 0xD800 && code <= 0xDBFF) {
            std::uint32_t low = 0;
            if (!consumeWord("\\u") || !parseHex4(low) || low < 0xDC00 || low > 0xDFFF) {
                return fail("high surrogate without its low half");
            }
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
        appendUtf8(out, code);
        return true;
    }

    static void appendUtf8(std::string& out, std::uint32_t code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
            return;
        }
        if (code < 0x800) {
            out += static_cast<char>(0xC0 | code >> 6);
        } else {
            if (code < 0x10000) {
                out += static_cast<char>(0xE0 | code >> 12);
            } else {
                out += static_cast<char>(0xF0 | code >> 18);
                out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
            }
            out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        }
        out += static_cast<char>(0x80 | (code & 0x3F));
    }

    bool parseString(std::string& out) {
        ++at_;
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (c == '"') {
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                --at_;
                return fail("control character in a string");
            }
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ == text_.size()) {
                break;
            }
            const char escaped = text_[at_++];
            switch (escaped) {
                case '"':
                case '\\':
                case '/':
                    out += escaped;
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u':
                    if (!parseEscapedCodePoint(out)) {
                        return false;
                    }
                    break;
                default:
                    --at_;
                    return fail("unknown escape");
            }
        }
        return fail("unterminated string");
    }

    std::string_view text_;
    JsonError& error_;
    std::size_t at_ = 0;
};

}  // namespace

bool parseJson(std::string_view text, JsonValue& value, JsonError& error) {
    return Parser(text, error).parseDocument(value);
}

}  // namespace tafjson
