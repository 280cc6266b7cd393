// Writing a node tree as JSON text, compact or formatted with line breaks and tabs.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/json_node.h"

namespace meru {

// Prints `node` and everything under it, without recursion, so trees of any depth print.
// Returns allocated NUL-terminated text to be released with json_free, and its length in
// `*length` when that is not null; null when an allocation fails (nothing leaks).
char* json_print(const json_node* node, bool formatted, size_t* length = nullptr);
// The same into `out`, without the intermediate copy; false when an allocation fails.
bool json_print_to(const json_node* node, bool formatted, std::string& out);

// Room for the longest number text: a fixed-notation double with six decimals ('-', 309 digits,
// '.', six decimals) and a NUL.
constexpr size_t kJsonNumberTextMax = 320;

// The text an integer or double node prints as, written to `text` (kJsonNumberTextMax bytes)
// and followed by a NUL.
std::string_view json_number_text(const json_node* node, char* text);

}  // namespace meru
