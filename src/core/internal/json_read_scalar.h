// Readers of the scalar parts of JSON text (strings and numbers) used by the parser.
#pragma once

#include "core/json_node.h"

namespace meru {

// The raw text of a string between its quotes: `end` is the closing quote, or the input's
// terminating NUL when the quote is missing.
struct JsonStringSpan {
    const char* begin;
    const char* end;
    bool escaped;  // whether the text holds a backslash
};

// `text` points at the opening quote, `inputEnd` at the input's terminating NUL; reads nothing
// past it.
JsonStringSpan json_scan_string(const char* text, const char* inputEnd);

// Writes the decoded text and a NUL to `out`, which has room for the raw text and the NUL:
// every escape is at least as long as the bytes it stands for.
void json_decode_string(const JsonStringSpan& span, char* out);

// `text` points at '-' or a digit. Fills `node` as json_int or json_double and returns the
// position after the number.
const char* json_read_number(const char* text, json_node* node);

}  // namespace meru
