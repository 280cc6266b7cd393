// The host's string class, as the stand-in service_plugins library provides it.
#include "service_plugin/ll_string.h"

#include <cstring>

namespace service_plugin {
namespace {

char* CopyText(const char* text, std::uint32_t length) {
    if (length == 0) {
        return nullptr;
    }
    auto* copy = new char[length + 1];
    std::memcpy(copy, text, length);
    copy[length] = '\0';
    return copy;
}

std::uint32_t TextLength(const char* text) {
    return text == nullptr ? 0 : static_cast<std::uint32_t>(std::strlen(text));
}

}  // namespace

LLString::LLString(const char* text)
    : data_(CopyText(text, TextLength(text))), length_(TextLength(text)) {}

LLString::LLString(const LLString& other)
    : data_(CopyText(other.data_, other.length_)), length_(other.length_) {}

LLString& LLString::operator=(const LLString& other) {
    if (this != &other) {
        char* copy = CopyText(other.data_, other.length_);
        delete[] data_;
        data_ = copy;
        length_ = other.length_;
    }
    return *this;
}

LLString& LLString::operator=(const char* text) {
    const std::uint32_t length = TextLength(text);
    char* copy = CopyText(text, length);
    delete[] data_;
    data_ = copy;
    length_ = length;
    return *this;
}

LLString::~LLString() {
    delete[] data_;
}

std::uint32_t LLString::Length() const {
    return length_;
}

const char* LLString::Str() const {
    return data_;
}

}  // namespace service_plugin
