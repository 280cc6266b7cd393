// Growth of the printer's text buffer and container stack through the node allocator.
#include "core/internal/json_print_buffer.h"

#include <cstring>

namespace meru {
namespace {

constexpr size_t kFirstTextCapacity = 256;

}  // namespace

char* JsonTextBuffer::Extend(size_t count) {
    if (failed_) {
        return nullptr;
    }
    // One byte more than asked is always kept free for the terminating NUL.
    if (capacity_ - size_ <= count) {
        size_t capacity = capacity_ == 0 ? kFirstTextCapacity : capacity_ * 2;
        while (capacity - size_ <= count) {
            capacity *= 2;
        }
        auto* grown = static_cast<char*>(json_allocate(capacity));
        if (grown == nullptr) {
            failed_ = true;
            return nullptr;
        }
        if (size_ > 0) {
            std::memcpy(grown, data_, size_);
        }
        json_free(data_);
        data_ = grown;
        capacity_ = capacity;
    }
    char* room = data_ + size_;
    size_ += count;
    return room;
}

void JsonTextBuffer::Append(const char* text, size_t count) {
    if (char* room = Extend(count)) {
        std::memcpy(room, text, count);
    }
}

void JsonTextBuffer::AppendRepeated(char c, size_t count) {
    if (char* room = Extend(count)) {
        std::memset(room, c, count);
    }
}

char* JsonTextBuffer::Release(size_t* length) {
    if (Extend(0) == nullptr) {
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
