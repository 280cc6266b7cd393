// Writing a node tree as JSON text, compact or formatted with line breaks and tabs.
#pragma once

#include <cstddef>

#include "core/json_node.h"

namespace meru {

// Prints `node` and everything under it, without recursion, so trees of any depth print.
// Returns allocated NUL-terminated text to be released with json_free, and its length in
// `*length` when that is not null; null when an allocation fails (nothing leaks).
char* json_print(const json_node* node, bool formatted, size_t* length = nullptr);

}  // namespace meru
