// Decoding of JSON strings (escapes, UTF-16 surrogates to UTF-8) and numbers.
#include "core/internal/json_read_scalar.h"

#include "core/text.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace meru {
namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// Reads up to four hex digits; returns how many there were. The terminating NUL and the closing
// quote are not hex digits, so this never passes the end of the string.
int read_hex4(const char* text, unsigned& value) {
    value = 0;
    int count = 0;
    for (int digit; count < 4 && (digit = core::HexDigitValue(text[count])) >= 0; ++count) {
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return count;
}

char* write_utf8(unsigned code, char* out) {
    if (code < 0x80) {
        *out++ = static_cast<char>(code);
    } else if (code < 0x800) {
        *out++ = static_cast<char>(0xC0 | (code >> 6));
        *out++ = static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (code >> 12));
        *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (code & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (code >> 18));
        *out++ = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (code & 0x3F));
    }
    return out;
}

// `text` follows "\u". An escape with fewer than four hex digits, of code 0, a lone low
// surrogate, or a high surrogate without "\u" and a low surrogate after it writes nothing; in
// the last case the escape that follows is read on its own.
const char* read_unicode_escape(const char* text, char*& out) {
    unsigned code = 0;
    const int digits = read_hex4(text, code);
    text += digits;
    if (digits < 4 || code == 0 || (code >= 0xDC00 && code <= 0xDFFF)) {
        return text;
    }
    if (code >= 0xD800 && code <= 0xDBFF) {
        unsigned low = 0;
        if (text[0] != '\\' || text[1] != 'u' || read_hex4(text + 2, low) < 4 || low < 0xDC00 ||
            low > 0xDFFF) {
            return text;
        }
        text += 6;
        code = 0x10000 + ((code & 0x3FF) << 10) + (low & 0x3FF);
    }
    out = write_utf8(code, out);
    return text;
}

// The first quote, backslash or NUL from `at` on. Eight bytes are looked at together while all
// eight lie before the terminating NUL at `inputEnd`: in the word, a quote or backslash byte
// becomes zero after the XOR, and the lowest byte flagged by the zero-byte test is exactly the
// first such byte (the test only errs above a true zero).
const char* next_special(const char* at, const char* inputEnd) {
    constexpr uint64_t kOnes = 0x0101010101010101;
    constexpr uint64_t kHighs = 0x8080808080808080;
    if constexpr (std::endian::native == std::endian::little) {
        for (; inputEnd - at >= 8; at += 8) {
            uint64_t word = 0;
            std::memcpy(&word, at, sizeof word);
            const uint64_t quotes = word ^ (kOnes * '"');
            const uint64_t backslashes = word ^ (kOnes * '\\');
            const uint64_t found =
                (((quotes - kOnes) & ~quotes) | ((backslashes - kOnes) & ~backslashes)) & kHighs;
            if (found != 0) {
                return at + std::countr_zero(found) / 8;
            }
        }
    }
    while (*at != '"' && *at != '\\' && *at != '\0') {
        ++at;
    }
    return at;
}

const char* skip_digits(const char* text) {
    while (is_digit(*text)) {
        ++text;
    }
    return text;
}

// mantissa x 10^(exponent - fraction digits) of a number already checked by the caller; digits
// may be missing after '-' and after the exponent mark, and then count as 0. Never NaN: digits
// past what a double can hold only scale the mantissa, and the exponent stops growing long
// before it could overflow; a result beyond the double range comes out infinite.
double approximate(const char* text, const char* end) {
    constexpr double kMantissaMax = 1e300;
    constexpr double kExponentMax = 1e6;
    double mantissa = 0;
    double scale = 0;
    for (; text < end && is_digit(*text); ++text) {
        if (mantissa < kMantissaMax) {
            mantissa = mantissa * 10 + (*text - '0');
        } else {
            scale += 1;
        }
    }
    if (text < end && *text == '.') {
        for (++text; text < end && is_digit(*text); ++text) {
            if (mantissa < kMantissaMax) {
                mantissa = mantissa * 10 + (*text - '0');
                scale -= 1;
            }
        }
    }
    if (text < end) {  // the exponent
        const bool negative = text + 1 < end && text[1] == '-';
        text += (text + 1 < end && (text[1] == '-' || text[1] == '+')) ? 2 : 1;
        double exponent = 0;
        for (; text < end && exponent < kExponentMax; ++text) {
            exponent = exponent * 10 + (*text - '0');
        }
        scale += negative ? -exponent : exponent;
    }
    if (mantissa == 0) {
        return 0;
    }
    // Dividing by an exact power of ten rounds better than multiplying by an inexact one; the
    // division goes in two steps so that a long mantissa is not divided by an infinite power.
    if (scale >= 0) {
        return mantissa * std::pow(10.0, scale);
    }
    if (scale >= -300) {
        return mantissa / std::pow(10.0, -scale);
    }
    return mantissa / 1e300 / std::pow(10.0, -scale - 300);
}

char control_byte(char escape) {
    switch (escape) {
        case 'b':
            return '\b';
        case 'f':
            return '\f';
        case 'n':
            return '\n';
        case 'r':
            return '\r';
        case 't':
            return '\t';
        default:
            return escape;  // a backslash before any other byte gives that byte
    }
}

// Whole numbers beyond the 64-bit range saturate: positive ones at the largest unsigned value,
// negative ones below -2^63 at the smallest signed value.
int64_t whole_value(double magnitude, bool negative) {
    constexpr double kTwoPow63 = 9223372036854775808.0;
    constexpr double kTwoPow64 = 18446744073709551616.0;
    if (negative && magnitude >= kTwoPow63) {
        return std::numeric_limits<int64_t>::min();
    }
    if (magnitude >= kTwoPow64) {
        return static_cast<int64_t>(UINT64_MAX);
    }
    const auto bits = static_cast<uint64_t>(magnitude);
    return static_cast<int64_t>(negative ? 0 - bits : bits);
}

}  // namespace

JsonStringSpan json_scan_string(const char* text, const char* inputEnd) {
    JsonStringSpan span{text + 1, text + 1, false};
    const char* at = next_special(span.begin, inputEnd);
    while (*at == '\\') {
        span.escaped = true;
        at = next_special(at + (at[1] != '\0' ? 2 : 1), inputEnd);
    }
    span.end = at;
    return span;
}

void json_decode_string(const JsonStringSpan& span, char* out) {
    const char* read = span.begin;
    const char* end = span.end;
    char* write = out;
    if (!span.escaped) {
        const auto length = static_cast<size_t>(end - read);
        std::memcpy(write, read, length);
        write[length] = '\0';
        return;
    }
    while (read < end) {
        const void* found = std::memchr(read, '\\', static_cast<size_t>(end - read));
        const char* plain = found != nullptr ? static_cast<const char*>(found) : end;
        std::memcpy(write, read, static_cast<size_t>(plain - read));
        write += plain - read;
        read = plain;
        if (read == end || ++read == end) {
            break;  // an escape at the very end of the input ends the string
        }
        const char escape = *read++;
        if (escape == 'u') {
            read = read_unicode_escape(read, write);
        } else {
            *write++ = control_byte(escape);
        }
    }
    *write = '\0';
}

const char* json_read_number(const char* text, json_node* node) {
    const bool negative = *text == '-';
    const char* digits = negative ? text + 1 : text;
    // Whole numbers of up to 15 digits are exact in a double, so they need no conversion.
    uint64_t whole = 0;
    const char* end = digits;
    for (; end - digits < 15 && is_digit(*end); ++end) {
        whole = whole * 10 + static_cast<uint64_t>(*end - '0');
    }
    if (!is_digit(*end) && *end != '.' && *end != 'e' && *end != 'E') {
        node->type = json_int;
        node->valueint = static_cast<int64_t>(negative ? 0 - whole : whole);
        node->sign = negative ? json_signed : json_unsigned;
        return end;
    }
    end = skip_digits(end);
    bool fractional = false;
    if (*end == '.' && is_digit(end[1])) {
        fractional = true;
        end = skip_digits(end + 1);
    }
    if (*end == 'e' || *end == 'E') {
        fractional = true;
        end = skip_digits(end + ((end[1] == '-' || end[1] == '+') ? 2 : 1));
    }
    // The library conversion rounds exactly, so 2^63 and 2^64 - 1 come out whole. It declines
    // the lenient forms (missing digits) and out-of-range values, which the arithmetic handles.
    double magnitude = 0;
    const auto converted = std::from_chars(digits, end, magnitude);
    if (converted.ec != std::errc() || converted.ptr != end) {
        magnitude = approximate(digits, end);
    }
    // Out of the double range: the largest finite double, so that the number prints as JSON.
    magnitude = json_finite(magnitude);
    if (!fractional) {
        node->type = json_int;
        node->valueint = whole_value(magnitude, negative);
        node->sign = negative ? json_signed : json_unsigned;
    } else {
        node->type = json_double;
        node->valuedouble = negative ? -magnitude : magnitude;
    }
    return end;
}

}  // namespace meru
