// Copying a node tree as its text reads back, without recursion.
#include "core/json_copy.h"

#include "core/internal/json_read_scalar.h"
#include "core/json_parse.h"
#include "core/json_print.h"

namespace meru {
namespace {

// A copy of `source` without its children; the key (a missing one prints as "") only when
// `keyed`.
json_node* copy_node(const json_node* source, bool keyed) {
    json_node* copy = nullptr;
    switch (json_type_of(source)) {
        case json_int:
        case json_double: {
            char text[kJsonNumberTextMax];
            json_number_text(source, text);
            copy = json_create(json_int);
            if (copy != nullptr) {
                json_read_number(text, copy);
            }
            break;
        }
        case json_string:
            copy = json_create_string(source->valuestring != nullptr ? source->valuestring : "");
            break;
        default:
            copy = json_create(json_type_of(source));
            break;
    }
    const char* key = source->key != nullptr ? source->key : "";
    if (copy != nullptr && keyed && (copy->key = json_strdup(key)) == nullptr) {
        json_delete(copy);
        return nullptr;
    }
    return copy;
}

}  // namespace

json_node* json_copy_as_text(const json_node* source, bool& tooDeep) {
    struct Open {
        const json_node* next;  // the next child of the source container to copy
        json_node* copy;
        bool object;
    };
    Open open[kJsonMaxNestingDepth];
    size_t depth = 0;
    tooDeep = false;
    json_node* root = copy_node(source, false);
    const json_node* item = source;
    json_node* copy = root;
    while (copy != nullptr) {
        if (json_first_child(item) != nullptr) {
            open[depth++] = {item->child, copy, json_type_of(item) == json_object};
        }
        while (depth > 0 && open[depth - 1].next == nullptr) {
            --depth;
        }
        if (depth == 0) {
            return root;
        }
        Open& parent = open[depth - 1];
        item = parent.next;
        parent.next = item->next;
        copy = copy_node(item, parent.object);
        if (copy == nullptr) {
            break;
        }
        json_append_child(parent.copy, copy);
        // The parser refuses a container, even an empty one, below this many open ones.
        if (json_is_container(item) && depth == kJsonMaxNestingDepth) {
            tooDeep = true;
            break;
        }
    }
    json_delete(root);
    return nullptr;
}

}  // namespace meru
