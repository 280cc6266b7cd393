#include "core/logger_stream.h"

#include <cwchar>

#include "core/text.h"

namespace core {

logger_stream::logger_stream(int level, logger* target)
    : std::ostream(static_cast<std::streambuf*>(this)), logger_(target), level_(level) {
    if (logger_ != nullptr && level_ < logger_->level()) {
        setstate(std::ios_base::eofbit);
    }
}

logger_stream::~logger_stream() {
    if (logger_ == nullptr || text_.empty()) {
        return;
    }
    logger_->log(level_, std::move(text_));
    logger_->flush();
}

logger_stream& logger_stream::operator<<(std::ostream& (*manipulator)(std::ostream&)) {
    manipulator(*this);
    return *this;
}

logger_stream& logger_stream::operator<<(const char* text) {
    if (text != nullptr) {
        static_cast<std::ostream&>(*this) << text;
    }
    return *this;
}

logger_stream& logger_stream::operator<<(const wchar_t* text) {
    if (text != nullptr && good()) {
        *this << std::wstring_view(text);
    }
    return *this;
}

logger_stream& logger_stream::operator<<(std::wstring_view text) {
    if (good()) {
        static_cast<std::ostream&>(*this) << WideToUtf8(text.data(), static_cast<int>(text.size()));
    }
    return *this;
}

logger_stream& logger_stream::operator<<(const std::wstring& text) {
    return *this << std::wstring_view(text);
}

std::streambuf::int_type logger_stream::overflow(std::streambuf::int_type c) {
    if (logger_ == nullptr) {
        return 0;
    }
    using traits = std::streambuf::traits_type;
    if (!traits::eq_int_type(c, traits::eof())) {
        text_.push_back(traits::to_char_type(c));
    }
    return traits::not_eof(c);
}

std::streamsize logger_stream::xsputn(const char* data, std::streamsize size) {
    if (logger_ == nullptr) {
        return 0;
    }
    text_.append(data, static_cast<std::size_t>(size));
    return size;
}

int logger_stream::sync() {
    if (logger_ != nullptr) {
        logger_->flush();
    }
    return 0;
}

}  // namespace core
