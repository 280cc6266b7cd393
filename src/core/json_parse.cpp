// The JSON parser: builds the node tree in one pass, without recursion.
#include "core/json_parse.h"

#include <atomic>
#include <cstring>

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

bool starts_with(const char* text, const char* word) {
    return std::strncmp(text, word, std::strlen(word)) == 0;
}

class Parser {
public:
    explicit Parser(const char* text) : text_(text) {}

    json_node* Run();

private:
    bool Fail(const char* at) {
        errorAt_ = at;
        return false;
    }
    // Links a new node as the next value: the root, or the last child of the open container.
    json_node* NewValueNode();
    // Reads the key and ':' of an object member into `member`.
    bool ReadKey(json_node* member);
    // Reads the value at `at_` into `node`; an array or object is only opened.
    bool ReadValue(json_node* node);
    // After a complete value: consumes ',' (true, another value follows) or closing brackets
    // until a ',' or the end of the root (true with done_ set).
    bool ReadSeparator();

    const char* text_;
    const char* at_ = nullptr;
    const char* errorAt_ = nullptr;
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
        json_node* node = NewValueNode();
        ok = node != nullptr && ReadKey(node) && ReadValue(node) && ReadSeparator();
    }
    if (ok) {
        return root_;
    }
    json_delete(root_);
    gLastErrorOffset.store(
        errorAt_ != nullptr ? static_cast<size_t>(errorAt_ - text_) : kJsonNoErrorOffset,
        std::memory_order_relaxed);
    return nullptr;
}

json_node* Parser::NewValueNode() {
    json_node* node = json_create(json_null);
    if (node == nullptr) {
        return nullptr;
    }
    if (depth_ == 0) {
        root_ = node;
    } else if (last_ == nullptr) {
        open_[depth_ - 1]->child = node;
    } else {
        last_->next = node;
        node->prev = last_;
    }
    last_ = node;
    return node;
}

bool Parser::ReadKey(json_node* member) {
    if (depth_ == 0 || json_type_of(open_[depth_ - 1]) != json_object) {
        return true;
    }
    at_ = skip_blanks(at_);
    if (*at_ != '"') {
        return Fail(at_);
    }
    if ((at_ = json_read_string(at_, &member->key)) == nullptr) {
        return false;
    }
    at_ = skip_blanks(at_);
    if (*at_ != ':') {
        return Fail(at_);
    }
    ++at_;
    return true;
}

bool Parser::ReadValue(json_node* node) {
    at_ = skip_blanks(at_);
    const char first = *at_;
    if (first == '[' || first == '{') {
        if (depth_ == kJsonMaxNestingDepth) {
            return Fail(at_);
        }
        node->type = first == '[' ? json_array : json_object;
        at_ = skip_blanks(at_ + 1);
        if (*at_ == (first == '[' ? ']' : '}')) {
            ++at_;  // empty: the container is complete already
            return true;
        }
        open_[depth_++] = node;
        last_ = nullptr;
        return true;
    }
    if (first == '"') {
        node->type = json_string;
        return (at_ = json_read_string(at_, &node->valuestring)) != nullptr;
    }
    if (first == '-' || (first >= '0' && first <= '9')) {
        at_ = json_read_number(at_, node);
        return true;
    }
    // Exact lower-case prefixes: "nullx" is null followed by ignored text.
    static constexpr struct {
        const char* word;
        int32_t type;
    } kLiterals[] = {{"null", json_null}, {"false", json_false}, {"true", json_true}};
    for (const auto& literal : kLiterals) {
        if (starts_with(at_, literal.word)) {
            node->type = literal.type;
            at_ += std::strlen(literal.word);
            return true;
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
        last_ = container;
    }
    done_ = true;
    return true;
}

}  // namespace

json_node* json_parse(const char* text) {
    gLastErrorOffset.store(kJsonNoErrorOffset, std::memory_order_relaxed);
    Parser parser(text);
    return parser.Run();
}

size_t json_last_error_offset() {
    return gLastErrorOffset.load(std::memory_order_relaxed);
}

}  // namespace meru
