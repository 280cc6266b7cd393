#include "core/logger_stream.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "core/text.h"

namespace core {

void logger_stream::line_text::append(const char* data, std::size_t size) {
    std::memcpy(reserve(size), data, size);
    size_ += size;
}

char* logger_stream::line_text::reserve(std::size_t size) {
    if (size > capacity_ - size_) {
        const std::size_t capacity = std::max(capacity_ * 2, size_ + size);
        auto grown = std::make_unique<char[]>(capacity);
        std::memcpy(grown.get(), data_, size_);
        heap_ = std::move(grown);
        data_ = heap_.get();
        capacity_ = capacity;
    }
    return data_ + size_;
}

logger_stream::ostream_writer::int_type logger_stream::ostream_writer::overflow(int_type c) {
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        const char byte = traits_type::to_char_type(c);
        text.append(&byte, 1);
    }
    return traits_type::not_eof(c);
}

std::streamsize logger_stream::ostream_writer::xsputn(const char* data, std::streamsize size) {
    text.append(data, static_cast<std::size_t>(size));
    return size;
}

void logger_stream::submit() {
    if (!text_.view().empty()) {
        logger_->log(level_, text_.view());
    }
}

logger_stream::ostream_writer& logger_stream::formatter() {
    if (!formatter_) {
        formatter_.emplace(text_);
    }
    return *formatter_;
}

void logger_stream::append_signed(long long value) {
    char* at = text_.reserve(24);
    text_.commit(static_cast<std::size_t>(std::to_chars(at, at + 24, value).ptr - at));
}

void logger_stream::append_unsigned(unsigned long long value) {
    char* at = text_.reserve(24);
    text_.commit(static_cast<std::size_t>(std::to_chars(at, at + 24, value).ptr - at));
}

// std::flush and std::endl reach logger::flush through nothing: the writer flushes after every
// batch anyway. Manipulators such as std::hex stay in force for the rest of the line.
logger_stream& logger_stream::operator<<(std::ostream& (*manipulator)(std::ostream&)) {
    if (active_) {
        manipulator(formatter().out);
    }
    return *this;
}

logger_stream& logger_stream::operator<<(std::ios_base& (*manipulator)(std::ios_base&)) {
    if (active_) {
        manipulator(formatter().out);
    }
    return *this;
}

void logger_stream::append_narrow(const char* text) {
    text_.append(text, std::strlen(text));
}

// ASCII, what almost every line holds, is copied as it stands; anything else goes through the
// shared converter.
void logger_stream::append_wide(std::wstring_view text) {
    char* out = text_.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (static_cast<std::make_unsigned_t<wchar_t>>(text[i]) >= 0x80) {
            const std::string converted = WideToUtf8(text.data(), static_cast<int>(text.size()));
            text_.append(converted.data(), converted.size());
            return;
        }
        out[i] = static_cast<char>(text[i]);
    }
    text_.commit(text.size());
}

}  // namespace core
