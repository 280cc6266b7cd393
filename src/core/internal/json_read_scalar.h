// Readers of the scalar parts of JSON text (strings and numbers) used by the parser.
#pragma once

#include "core/json_node.h"

namespace meru {

// `text` points at the opening quote. Stores the decoded, allocated text in `*out` and returns
// the position after the closing quote (or the end of the input when it is missing); null when
// allocation fails. Reads nothing past the terminating NUL.
const char* json_read_string(const char* text, char** out);

// `text` points at '-' or a digit. Fills `node` as json_int or json_double and returns the
// position after the number.
const char* json_read_number(const char* text, json_node* node);

}  // namespace meru
