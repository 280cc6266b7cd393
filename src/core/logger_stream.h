// One log line, composed with << and queued when the temporary stream is destroyed:
//   core::logger_stream(core::level_inf) << L"Class::Method" << " key " << value;
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "core/logger.h"

namespace core {

class logger_stream : private std::streambuf, public std::ostream {
public:
    // A level below the logger's threshold makes every insertion a no-op.
    explicit logger_stream(int level, logger* target = get_logger());
    ~logger_stream() override;
    logger_stream(const logger_stream&) = delete;
    logger_stream& operator=(const logger_stream&) = delete;

    template <typename T>
    logger_stream& operator<<(const T& value) {
        if (good()) {
            static_cast<std::ostream&>(*this) << value;
        }
        return *this;
    }
    logger_stream& operator<<(std::ostream& (*manipulator)(std::ostream&));
    // A null pointer writes nothing.
    logger_stream& operator<<(const char* text);
    // Wide text is converted to UTF-8, but only when the line will be written.
    logger_stream& operator<<(const wchar_t* text);
    logger_stream& operator<<(std::wstring_view text);
    logger_stream& operator<<(const std::wstring& text);

private:
    std::streambuf::int_type overflow(std::streambuf::int_type c) override;
    std::streamsize xsputn(const char* data, std::streamsize size) override;
    int sync() override;

    logger* logger_;
    int level_;
    std::string text_;
};

}  // namespace core
