// The JSON node tree under CJsonObject: one node per value, allocated through a replaceable pair.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>

namespace meru {

// Value kinds, kept in the low byte of json_node::type.
enum json_type : int32_t {
    json_false = 0,
    json_true = 1,
    json_null = 2,
    json_int = 3,
    json_double = 4,
    json_string = 5,
    json_array = 6,
    json_object = 7,
};

// Set in json_node::type when the node refers to a string and children it does not own.
constexpr int32_t json_is_reference = 0x100;
// Set by the parser: the node, its key and its string live in the parsed tree's arena, freed
// all at once with the tree's root, which carries json_owns_arena as well.
constexpr int32_t json_in_arena = 0x200;
constexpr int32_t json_owns_arena = 0x400;

// `sign` of an integer node: how its 64 bits are meant.
constexpr int32_t json_signed = -1;
constexpr int32_t json_unsigned = 1;

// 32 bytes: a node holds one value, so the value fields share their storage; which one is
// meant follows from the type. Arrays and objects are json_container, arrays json_list. Children
// are linked by the parser and the json_*_child functions below, which keep the last child, the
// count and the read position right; only a reference node may have its child set by hand.
struct json_node {
    json_node* next = nullptr;  // the following sibling inside an array or object
    char* key = nullptr;        // member name inside an object
    union {
        char* valuestring = nullptr;  // UTF-8 text of a string node
        int64_t valueint;
        double valuedouble;
        json_node* child;  // first element or member of an array or object
    };
    int32_t type = json_false;
    int32_t sign = json_unsigned;
};

// The last child makes appending O(1).
struct json_container : json_node {
    json_node* last = nullptr;
};

// An array also counts its elements and remembers the element read last, so that reading the
// elements in order does not walk from the first each time. Every edit of the array resets the
// position.
struct json_list : json_container {
    size_t count = 0;
    json_node* cursor = nullptr;
    size_t cursorIndex = 0;
};

inline int32_t json_type_of(const json_node* node) {
    return node->type & 0xFF;
}

inline bool json_is_container(const json_node* node) {
    return json_type_of(node) == json_array || json_type_of(node) == json_object;
}

// The first child of an array or object, null for any other node.
inline json_node* json_first_child(const json_node* node) {
    return json_is_container(node) ? node->child : nullptr;
}

// Bytes a node of that type takes.
inline size_t json_node_size(int32_t type) {
    switch (type & 0xFF) {
        case json_array:
            return sizeof(json_list);
        case json_object:
            return sizeof(json_container);
        default:
            return sizeof(json_node);
    }
}

// Builds an empty node of that type in `block`, which holds json_node_size(type) bytes.
inline json_node* json_construct(void* block, int32_t type) {
    json_node* node = nullptr;
    switch (type & 0xFF) {
        case json_array:
            node = new (block) json_list{};
            break;
        case json_object:
            node = new (block) json_container{};
            break;
        default:
            node = new (block) json_node{};
            break;
    }
    node->type = type;
    return node;
}

// JSON has no infinities and no NaN: numbers beyond the double range are clamped to the largest
// finite double of their sign, and NaN counts as 0.
inline double json_finite(double value) {
    if (value != value) {
        return 0;
    }
    return std::clamp(value, -std::numeric_limits<double>::max(),
                      std::numeric_limits<double>::max());
}

// Every node, string, arena block and print buffer goes through this pair, so a test can fail
// any one of them. Passing null for both restores the C runtime's malloc and free.
using json_allocate_fn = void* (*)(size_t size);
using json_free_fn = void (*)(void* block);
void json_set_allocator(json_allocate_fn allocate, json_free_fn release);
void* json_allocate(size_t size);
void json_free(void* block);

// Copies NUL-terminated text into an allocated block; null when allocation fails.
char* json_strdup(const char* text);

// New detached nodes; null when allocation fails.
json_node* json_create(int32_t type);
json_node* json_create_int(int64_t value, int32_t sign);
json_node* json_create_double(double value);
json_node* json_create_string(const char* text);

// Frees a detached node with its key, string and children, without recursion, so a tree of any
// depth can be freed. Null is accepted.
void json_delete(json_node* node);

// First member whose key equals `key` with ASCII letters compared case-insensitively; null when
// `object` is null, not an object, or has no such member.
json_node* json_object_member(const json_node* object, const char* key);
// Element at `index`; null when `array` is null, not an array, or too short. Walks on from the
// element read last when `index` is not before it.
json_node* json_array_element(json_node* array, size_t index);
size_t json_child_count(const json_node* container);

void json_append_child(json_node* container, json_node* item);
void json_prepend_child(json_node* container, json_node* item);
// Unlinks `item` from `container` without freeing it.
void json_detach_child(json_node* container, json_node* item);
// Puts `replacement` where `item` was; `item` is unlinked, not freed.
void json_replace_child(json_node* container, json_node* item, json_node* replacement);

}  // namespace meru
