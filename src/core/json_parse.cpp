// The JSON parser: builds the node tree in one pass, without recursion, into an arena.
#include "core/json_parse.h"

#include <atomic>
#include <cstring>
#include <new>

#include "core/internal/json_arena.h"
#include "core/internal/json_read_scalar.h"

namespace meru {
namespace {

// An offset rather than a pointer: a parse that reads another thread's value must never be
// able to follow it into that thread's text.
std::atomic<size_t> gLastErrorOffset{kJsonNoErrorOffset};

// Bytes 1 to 32 (blanks, line breaks and other control bytes) may stand between any tokens.
const char* skip_blanks(const char* text) {
    while (static_cast<unsigned char>(*text) - 1u < 32u) {
        ++text;
    }
    return text;
}

class Parser {
public:
    Parser(const char* text, size_t length) : text_(text), end_(text + length), arena_(length) {}

    json_node* Run();

private:
    bool Fail(const char* at) {
        errorAt_ = at;
        return false;
    }
    // A node of `type` from the arena, linked as the next value: the root, or the last child of
    // the open container. Null when allocation fails.
    json_node* NewValueNode(int32_t type, char* key);
    // Decodes the string whose opening quote is at `at_` into the arena.
    char* ReadString();
    // Reads the key and ':' of an object member; `*key` stays null outside objects.
    bool ReadKey(char** key);
    // Reads the value at `at_` as a new node; an array or object is only opened.
    bool ReadValue(char* key);
    // After a complete value: consumes ',' (true, another value follows) or closing brackets
    // until a ',' or the end of the root (true with done_ set).
    bool ReadSeparator();

    const char* text_;
    const char* end_;  // the terminating NUL
    const char* at_ = nullptr;
    const char* errorAt_ = nullptr;
    JsonArena arena_;
    json_node* root_ = nullptr;
    json_node* last_ = nullptr;              // last child of the innermost open container, if any
    json_node* open_[kJsonMaxNestingDepth];  // written before read: no need to clear
    size_t depth_ = 0;
    bool done_ = false;
};

json_node* Parser::Run() {
    at_ = text_;
    bool ok = true;
    while (ok && !done_) {
        char* key = nullptr;
        ok = ReadKey(&key) && ReadValue(key) && ReadSeparator();
    }
    if (ok) {
        root_->type |= json_owns_arena;
        arena_.Keep();
        return root_;
    }
    gLastErrorOffset.store(
        errorAt_ != nullptr ? static_cast<size_t>(errorAt_ - text_) : kJsonNoErrorOffset,
        std::memory_order_relaxed);
    return nullptr;
}

json_node* Parser::NewValueNode(int32_t type, char* key) {
    void* block = arena_.Node(json_node_size(type));
    if (block == nullptr) {
        return nullptr;
    }
    json_node* node = json_construct(block, type | json_in_arena);
    node->key = key;
    if (depth_ == 0) {
        root_ = node;
    } else {
        json_node* container = open_[depth_ - 1];
        if (last_ == nullptr) {
            container->child = node;
        } else {
            last_->next = node;
        }
        if (json_type_of(container) == json_array) {
            ++static_cast<json_list*>(container)->count;
        }
    }
    last_ = node;
    return node;
}

char* Parser::ReadString() {
    const JsonStringSpan span = json_scan_string(at_, end_);
    char* text = arena_.Text(static_cast<size_t>(span.end - span.begin) + 1);
    if (text == nullptr) {
        return nullptr;
    }
    json_decode_string(span, text);
    at_ = *span.end == '"' ? span.end + 1 : span.end;
    return text;
}

bool Parser::ReadKey(char** key) {
    if (depth_ == 0 || json_type_of(open_[depth_ - 1]) != json_object) {
        return true;
    }
    at_ = skip_blanks(at_);
    if (*at_ != '"') {
        return Fail(at_);
    }
    if ((*key = ReadString()) == nullptr) {
        return false;
    }
    at_ = skip_blanks(at_);
    if (*at_ != ':') {
        return Fail(at_);
    }
    ++at_;
    return true;
}

bool Parser::ReadValue(char* key) {
    at_ = skip_blanks(at_);
    const char first = *at_;
    if (first == '"') {
        json_node* node = NewValueNode(json_string, key);
        return node != nullptr && (node->valuestring = ReadString()) != nullptr;
    }
    if (first == '-' || (first >= '0' && first <= '9')) {
        json_node* node = NewValueNode(json_int, key);
        if (node == nullptr) {
            return false;
        }
        at_ = json_read_number(at_, node);
        node->type |= json_in_arena;
        return true;
    }
    if (first == '[' || first == '{') {
        if (depth_ == kJsonMaxNestingDepth) {
            return Fail(at_);
        }
        json_node* node = NewValueNode(first == '[' ? json_array : json_object, key);
        if (node == nullptr) {
            return false;
        }
        at_ = skip_blanks(at_ + 1);
        if (*at_ == (first == '[' ? ']' : '}')) {
            ++at_;  // empty: the container is complete already
            return true;
        }
        open_[depth_++] = node;
        last_ = nullptr;
        return true;
    }
    // Exact lower-case prefixes: "nullx" is null followed by ignored text.
    static constexpr struct {
        const char* word;
        int32_t type;
    } kLiterals[] = {{"null", json_null}, {"false", json_false}, {"true", json_true}};
    for (const auto& literal : kLiterals) {
        // Stops at the first byte that differs, so never passes the terminating NUL.
        size_t length = 0;
        while (literal.word[length] != '\0' && at_[length] == literal.word[length]) {
            ++length;
        }
        if (literal.word[length] == '\0') {
            at_ += length;
            return NewValueNode(literal.type, key) != nullptr;
        }
    }
    return Fail(at_);
}

bool Parser::ReadSeparator() {
    // A container that was just opened with content waits for its first value.
    if (last_ == nullptr && depth_ > 0) {
        return true;
    }
    while (depth_ > 0) {
        json_node* container = open_[depth_ - 1];
        at_ = skip_blanks(at_);
        if (*at_ == ',') {
            ++at_;
            return true;
        }
        if (*at_ != (json_type_of(container) == json_array ? ']' : '}')) {
            return Fail(at_);
        }
        ++at_;
        --depth_;
        static_cast<json_container*>(container)->last = last_;
        last_ = container;
    }
    done_ = true;
    return true;
}

}  // namespace

json_node* json_parse(const char* text) {
    gLastErrorOffset.store(kJsonNoErrorOffset, std::memory_order_relaxed);
    Parser parser(text, std::strlen(text));
    return parser.Run();
}

size_t json_last_error_offset() {
    return gLastErrorOffset.load(std::memory_order_relaxed);
}

}  // namespace meru
