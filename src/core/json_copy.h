// Copying a node tree the way printing it and parsing the text back would, without the text.
#pragma once

#include "core/json_node.h"

namespace meru {

// A new tree (nodes allocated one by one, none shared with `source`) equal to what parsing the
// compact text of `source` gives: keys and order are kept, numbers become what their printed
// text reads as (a whole double becomes an integer, a fraction keeps six decimals), the root
// has no key. Null when an allocation fails or, with `tooDeep` set, when the tree nests deeper
// than the parser accepts; nothing leaks.
json_node* json_copy_as_text(const json_node* source, bool& tooDeep);

}  // namespace meru
