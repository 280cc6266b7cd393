// Growable storage for the printer: the output text and the list of open containers.
#pragma once

#include <cstddef>

#include "core/json_node.h"

namespace meru {

// Output text in memory from the node allocator. After a failed allocation every append is
// ignored and failed() is true, so the printer checks once at the end.
class JsonTextBuffer {
public:
    JsonTextBuffer() = default;
    JsonTextBuffer(const JsonTextBuffer&) = delete;
    JsonTextBuffer& operator=(const JsonTextBuffer&) = delete;
    ~JsonTextBuffer() { json_free(data_); }

    // Room for `count` more bytes at the end, or null after an allocation failure.
    char* Extend(size_t count);
    void Append(const char* text, size_t count);
    void Append(char c) { Append(&c, 1); }
    void AppendRepeated(char c, size_t count);
    bool failed() const { return failed_; }
    // Hands the NUL-terminated text to the caller; null after a failure.
    char* Release(size_t* length);

private:
    char* data_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
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
