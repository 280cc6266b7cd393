// Allocation, creation, destruction and linking of JSON nodes.
#include "core/json_node.h"

#include "core/internal/json_arena.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

namespace meru {
namespace {

void* runtime_allocate(size_t size) {
    return std::malloc(size);
}

void runtime_free(void* block) {
    std::free(block);
}

// Atomic so that swapping the pair races with no allocation running on another thread.
std::atomic<json_allocate_fn> gAllocate{&runtime_allocate};
std::atomic<json_free_fn> gFree{&runtime_free};

char ascii_lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool keys_equal(const char* a, const char* b) {
    for (; *a != '\0' && ascii_lower(*a) == ascii_lower(*b); ++a, ++b) {
    }
    return ascii_lower(*a) == ascii_lower(*b);
}

}  // namespace

void json_set_allocator(json_allocate_fn allocate, json_free_fn release) {
    gAllocate.store(allocate != nullptr ? allocate : &runtime_allocate, std::memory_order_relaxed);
    gFree.store(release != nullptr ? release : &runtime_free, std::memory_order_relaxed);
}

void* json_allocate(size_t size) {
    return gAllocate.load(std::memory_order_relaxed)(size);
}

void json_free(void* block) {
    if (block != nullptr) {
        gFree.load(std::memory_order_relaxed)(block);
    }
}

char* json_strdup(const char* text) {
    const size_t size = std::strlen(text) + 1;
    auto* copy = static_cast<char*>(json_allocate(size));
    if (copy != nullptr) {
        std::memcpy(copy, text, size);
    }
    return copy;
}

json_node* json_create(int32_t type) {
    void* block = json_allocate(json_node_size(type));
    return block == nullptr ? nullptr : json_construct(block, type);
}

json_node* json_create_int(int64_t value, int32_t sign) {
    json_node* node = json_create(json_int);
    if (node != nullptr) {
        node->valueint = value;
        node->sign = sign;
    }
    return node;
}

json_node* json_create_double(double value) {
    json_node* node = json_create(json_double);
    if (node != nullptr) {
        node->valuedouble = value;
    }
    return node;
}

json_node* json_create_string(const char* text) {
    json_node* node = json_create(json_string);
    if (node != nullptr && (node->valuestring = json_strdup(text)) == nullptr) {
        json_free(node);
        return nullptr;
    }
    return node;
}

void json_delete(json_node* node) {
    // The nodes still to free form one chain through `next`: each node's children are spliced
    // in front of the rest, so the walk needs neither recursion nor extra memory. Nodes of a
    // parsed tree stay until the walk reaches no node that needs them, then go with their arena.
    json_node* arenaRoot = nullptr;
    if (node != nullptr) {
        node->next = nullptr;
    }
    while (node != nullptr) {
        const bool owns = (node->type & json_is_reference) == 0;
        json_node* rest = node->next;
        if (owns && json_is_container(node) && node->child != nullptr) {
            static_cast<json_container*>(node)->last->next = rest;
            rest = node->child;
        }
        if ((node->type & json_owns_arena) != 0) {
            arenaRoot = node;
        } else if ((node->type & json_in_arena) == 0) {
            if (owns && json_type_of(node) == json_string) {
                json_free(node->valuestring);
            }
            json_free(node->key);
            json_free(node);
        }
        node = rest;
    }
    if (arenaRoot != nullptr) {
        json_arena_release(arenaRoot);
    }
}

json_node* json_object_member(const json_node* object, const char* key) {
    if (object == nullptr || json_type_of(object) != json_object) {
        return nullptr;
    }
    for (json_node* member = object->child; member != nullptr; member = member->next) {
        if (member->key != nullptr && keys_equal(member->key, key)) {
            return member;
        }
    }
    return nullptr;
}

json_node* json_array_element(json_node* array, size_t index) {
    if (array == nullptr || json_type_of(array) != json_array) {
        return nullptr;
    }
    auto* list = static_cast<json_list*>(array);
    if (index >= list->count) {
        return nullptr;
    }
    json_node* element = list->child;
    size_t at = 0;
    if (list->cursor != nullptr && list->cursorIndex <= index) {
        element = list->cursor;
        at = list->cursorIndex;
    }
    for (; at < index; ++at) {
        element = element->next;
    }
    list->cursor = element;
    list->cursorIndex = index;
    return element;
}

size_t json_child_count(const json_node* container) {
    if (json_type_of(container) == json_array) {
        return static_cast<const json_list*>(container)->count;
    }
    size_t count = 0;
    for (const json_node* item = json_first_child(container); item != nullptr; item = item->next) {
        ++count;
    }
    return count;
}

namespace {

// The array's element count changes by `delta`; positions after an edit are unknown.
void array_changed(json_node* container, int delta) {
    if (json_type_of(container) == json_array) {
        auto* list = static_cast<json_list*>(container);
        list->count += static_cast<size_t>(delta);
        list->cursor = nullptr;
    }
}

// The sibling before `item`, null when it is the first.
json_node* previous_of(const json_node* container, const json_node* item) {
    json_node* previous = nullptr;
    for (json_node* at = container->child; at != item; at = at->next) {
        previous = at;
    }
    return previous;
}

}  // namespace

void json_append_child(json_node* container, json_node* item) {
    auto* list = static_cast<json_container*>(container);
    item->next = nullptr;
    if (list->child == nullptr) {
        list->child = item;
    } else {
        list->last->next = item;
    }
    list->last = item;
    if (json_type_of(container) == json_array) {
        ++static_cast<json_list*>(container)->count;  // positions before the end are unchanged
    }
}

void json_prepend_child(json_node* container, json_node* item) {
    auto* list = static_cast<json_container*>(container);
    item->next = list->child;
    if (list->child == nullptr) {
        list->last = item;
    }
    list->child = item;
    array_changed(container, 1);
}

void json_detach_child(json_node* container, json_node* item) {
    auto* list = static_cast<json_container*>(container);
    json_node* previous = previous_of(container, item);
    if (previous != nullptr) {
        previous->next = item->next;
    } else {
        list->child = item->next;
    }
    if (list->last == item) {
        list->last = previous;
    }
    item->next = nullptr;
    array_changed(container, -1);
}

void json_replace_child(json_node* container, json_node* item, json_node* replacement) {
    auto* list = static_cast<json_container*>(container);
    json_node* previous = previous_of(container, item);
    replacement->next = item->next;
    if (previous != nullptr) {
        previous->next = replacement;
    } else {
        list->child = replacement;
    }
    if (list->last == item) {
        list->last = replacement;
    }
    item->next = nullptr;
    array_changed(container, 0);
}

}  // namespace meru
