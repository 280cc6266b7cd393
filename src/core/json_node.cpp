// Allocation, creation, destruction and linking of JSON nodes.
#include "core/json_node.h"

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
    void* block = json_allocate(sizeof(json_node));
    if (block == nullptr) {
        return nullptr;
    }
    auto* node = new (block) json_node{};
    node->type = type;
    return node;
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
    // in front of the rest, so the walk needs neither recursion nor extra memory.
    if (node != nullptr) {
        node->next = nullptr;
    }
    while (node != nullptr) {
        const bool owns_children = (node->type & json_is_reference) == 0;
        json_node* rest = node->next;
        if (owns_children && node->child != nullptr) {
            json_node* last = node->child;
            while (last->next != nullptr) {
                last = last->next;
            }
            last->next = rest;
            rest = node->child;
        }
        if (owns_children) {
            json_free(node->valuestring);
        }
        json_free(node->key);
        json_free(node);
        node = rest;
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

json_node* json_array_element(const json_node* array, size_t index) {
    if (array == nullptr || json_type_of(array) != json_array) {
        return nullptr;
    }
    json_node* element = array->child;
    for (; element != nullptr && index > 0; --index) {
        element = element->next;
    }
    return element;
}

size_t json_child_count(const json_node* container) {
    size_t count = 0;
    for (const json_node* item = container->child; item != nullptr; item = item->next) {
        ++count;
    }
    return count;
}

void json_append_child(json_node* container, json_node* item) {
    item->next = nullptr;
    item->prev = nullptr;
    if (container->child == nullptr) {
        container->child = item;
        return;
    }
    json_node* last = container->child;
    while (last->next != nullptr) {
        last = last->next;
    }
    last->next = item;
    item->prev = last;
}

void json_prepend_child(json_node* container, json_node* item) {
    item->prev = nullptr;
    item->next = container->child;
    if (container->child != nullptr) {
        container->child->prev = item;
    }
    container->child = item;
}

void json_detach_child(json_node* container, json_node* item) {
    if (item->prev != nullptr) {
        item->prev->next = item->next;
    } else {
        container->child = item->next;
    }
    if (item->next != nullptr) {
        item->next->prev = item->prev;
    }
    item->next = nullptr;
    item->prev = nullptr;
}

void json_replace_child(json_node* container, json_node* item, json_node* replacement) {
    replacement->next = item->next;
    replacement->prev = item->prev;
    if (item->prev != nullptr) {
        item->prev->next = replacement;
    } else {
        container->child = replacement;
    }
    if (item->next != nullptr) {
        item->next->prev = replacement;
    }
    item->next = nullptr;
    item->prev = nullptr;
}

}  // namespace meru
