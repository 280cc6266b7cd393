// Reading JSON text into a node tree.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/json_node.h"

namespace meru {

// Arrays and objects nested deeper than this are refused: configuration texts never come close,
// and it bounds the parser's list of open containers to a few kilobytes of stack.
constexpr size_t kJsonMaxNestingDepth = 1000;

// What json_last_error_offset returns when the last parse recorded no position.
constexpr size_t kJsonNoErrorOffset = SIZE_MAX;

// Parses the first complete value of NUL-terminated `text`; whatever follows it is ignored.
// Returns the new tree, or null after a syntax error or an allocation failure (nothing leaks).
json_node* json_parse(const char* text);

// Where, as an offset into its text, the latest parse of any thread failed; kJsonNoErrorOffset
// when that parse recorded no position (it succeeded, or an allocation failed). Shared by all
// threads, so under concurrent parses it may belong to another text: check it against yours.
size_t json_last_error_offset();

}  // namespace meru
