// Growable storage for the printer: the output text and the list of open containers.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>

#include "core/json_node.h"

namespace meru {

// Output text in memory from the node allocator, in a chain of blocks that is joined once at the
// end: growing never copies what was written, and blocks stay small enough for the allocator
// to reuse. After a failed allocation failed() is true and Release gives nothing, so the printer
// checks once at the end.
class JsonTextBuffer {
public:
    JsonTextBuffer() = default;
    JsonTextBuffer(const JsonTextBuffer&) = delete;
    JsonTextBuffer& operator=(const JsonTextBuffer&) = delete;
    ~JsonTextBuffer();

    // Room for `count` more bytes at the end, or null after an allocation failure.
    char* Extend(size_t count) {
        if (capacity_ - size_ < count && !Grow(count)) {
            return nullptr;
        }
        char* room = data_ + size_;
        size_ += count;
        return room;
    }
    void Append(const char* text, size_t count) {
        if (char* room = Extend(count)) {
            std::memcpy(room, text, count);
        }
    }
    void Append(char c) {
        if (char* room = Extend(1)) {
            *room = c;
        }
    }
    void AppendRepeated(char c, size_t count);
    bool failed() const { return failed_; }
    // Hands the NUL-terminated text to the caller; null after a failure.
    char* Release(size_t* length);
    // Copies the text into `out`; false after a failure.
    bool CopyTo(std::string& out);

private:
    struct Block {
        Block* next;
        size_t used;
    };
    bool Grow(size_t count);
    size_t Length() const;
    void CopyInto(char* out) const;

    Block* first_ = nullptr;
    Block* current_ = nullptr;
    size_t written_ = 0;    // in the blocks before the current one
    char* data_ = nullptr;  // the current block's text
    size_t size_ = 0;
    size_t capacity_ = 0;
    size_t nextCapacity_ = 256;
    bool failed_ = false;
};

// Stack of the containers being printed; shallow trees never leave the inline slots.
class JsonNodeStack {
public:
    JsonNodeStack() = default;
    JsonNodeStack(const JsonNodeStack&) = delete;
    JsonNodeStack& operator=(const JsonNodeStack&) = delete;
    ~JsonNodeStack();

    bool Push(const json_node* node);
    const json_node* Pop() { return items_[--size_]; }
    const json_node* Top() const { return items_[size_ - 1]; }
    size_t size() const { return size_; }

private:
    static constexpr size_t kInlineSlots = 64;
    const json_node* inline_[kInlineSlots];
    const json_node** items_ = inline_;
    size_t size_ = 0;
    size_t capacity_ = kInlineSlots;
};

}  // namespace meru
