// Growth of the printer's text buffer and container stack through the node allocator.
#include "core/internal/json_print_buffer.h"

#include <cstring>

namespace meru {
namespace {

constexpr size_t kFirstTextCapacity = 256;

}  // namespace

bool JsonTextBuffer::Grow(size_t count) {
    if (failed_) {
        return false;
    }
    size_t capacity = capacity_ == 0 ? kFirstTextCapacity : capacity_ * 2;
    while (capacity - size_ <= count) {
        capacity *= 2;
    }
    auto* grown = static_cast<char*>(json_allocate(capacity));
    if (grown == nullptr) {
        failed_ = true;
        return false;
    }
    if (size_ > 0) {
        std::memcpy(grown, data_, size_);
    }
    json_free(data_);
    data_ = grown;
    capacity_ = capacity;
    return true;
}

void JsonTextBuffer::AppendRepeated(char c, size_t count) {
    if (char* room = Extend(count)) {
        std::memset(room, c, count);
    }
}

char* JsonTextBuffer::Release(size_t* length) {
    if (failed_ || Extend(0) == nullptr) {
        return nullptr;
    }
    data_[size_] = '\0';
    if (length != nullptr) {
        *length = size_;
    }
    char* text = data_;
    data_ = nullptr;
    size_ = capacity_ = 0;
    return text;
}

JsonNodeStack::~JsonNodeStack() {
    if (items_ != inline_) {
        json_free(items_);
    }
}

bool JsonNodeStack::Push(const json_node* node) {
    if (size_ == capacity_) {
        auto* grown =
            static_cast<const json_node**>(json_allocate(capacity_ * 2 * sizeof(json_node*)));
        if (grown == nullptr) {
            return false;
        }
        std::memcpy(grown, items_, size_ * sizeof(json_node*));
        if (items_ != inline_) {
            json_free(items_);
        }
        items_ = grown;
        capacity_ *= 2;
    }
    items_[size_++] = node;
    return true;
}

}  // namespace meru
