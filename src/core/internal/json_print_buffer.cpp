// Growth of the printer's text buffer and container stack through the node allocator.
#include "core/internal/json_print_buffer.h"

#include <algorithm>
#include <cstring>

namespace meru {
namespace {

// Blocks up to this size come from the allocator's pool, not fresh pages of their own.
constexpr size_t kLargestTextBlock = 64 * 1024;

}  // namespace

JsonTextBuffer::~JsonTextBuffer() {
    for (Block* block = first_; block != nullptr;) {
        Block* next = block->next;
        json_free(block);
        block = next;
    }
}

bool JsonTextBuffer::Grow(size_t count) {
    if (failed_) {
        return false;
    }
    const size_t capacity = std::max(count, nextCapacity_);
    auto* block = static_cast<Block*>(json_allocate(sizeof(Block) + capacity));
    if (block == nullptr) {
        failed_ = true;
        return false;
    }
    block->next = nullptr;
    block->used = 0;
    if (current_ != nullptr) {
        current_->used = size_;
        current_->next = block;
        written_ += size_;
    } else {
        first_ = block;
    }
    current_ = block;
    data_ = reinterpret_cast<char*>(block + 1);
    size_ = 0;
    capacity_ = capacity;
    nextCapacity_ = std::min(nextCapacity_ * 2, kLargestTextBlock);
    return true;
}

size_t JsonTextBuffer::Length() const {
    return written_ + size_;
}

void JsonTextBuffer::CopyInto(char* out) const {
    for (const Block* block = first_; block != nullptr; block = block->next) {
        const size_t used = block == current_ ? size_ : block->used;
        std::memcpy(out, block + 1, used);
        out += used;
    }
}

void JsonTextBuffer::AppendRepeated(char c, size_t count) {
    if (char* room = Extend(count)) {
        std::memset(room, c, count);
    }
}

char* JsonTextBuffer::Release(size_t* length) {
    if (failed_) {
        return nullptr;
    }
    const size_t total = Length();
    auto* text = static_cast<char*>(json_allocate(total + 1));
    if (text == nullptr) {
        failed_ = true;
        return nullptr;
    }
    CopyInto(text);
    text[total] = '\0';
    if (length != nullptr) {
        *length = total;
    }
    return text;
}

bool JsonTextBuffer::CopyTo(std::string& out) {
    if (failed_) {
        return false;
    }
    out.resize(Length());
    CopyInto(out.data());
    return true;
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
