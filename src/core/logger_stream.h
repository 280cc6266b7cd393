// One log line, composed with << and queued when the temporary stream is destroyed:
//   core::logger_stream(core::level_inf) << "Class::Method" << " key " << value;
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <type_traits>

#include "core/logger.h"

namespace core {

class logger_stream {
public:
    // A level below the logger's threshold, or no logger, makes every insertion a no-op; the
    // level is decided here, before anything is built.
    explicit logger_stream(int level, logger* target = get_logger())
        : logger_(target), level_(level), active_(target != nullptr && level >= target->level()) {}
    ~logger_stream() {
        if (active_) {
            submit();
        }
    }
    logger_stream(const logger_stream&) = delete;
    logger_stream& operator=(const logger_stream&) = delete;

    // Formatted as std::ostream formats it. Integers, bool and characters are written directly;
    // anything else (and everything after a manipulator) goes through a std::ostream built on
    // first use.
    template <typename T>
    logger_stream& operator<<(const T& value) {
        if (!active_) {
            return *this;
        }
        if constexpr (std::is_same_v<T, bool>) {
            text_.append(value ? "1" : "0", 1);
        } else if constexpr (std::is_same_v<T, char> || std::is_same_v<T, signed char> ||
                             std::is_same_v<T, unsigned char>) {
            const char c = static_cast<char>(value);
            text_.append(&c, 1);
        } else if constexpr (std::is_integral_v<T> && std::is_signed_v<T> &&
                             !std::is_same_v<T, wchar_t>) {
            if (formatter_) {
                formatter_->out << value;
            } else {
                append_signed(value);
            }
        } else if constexpr (std::is_integral_v<T> && std::is_unsigned_v<T> &&
                             !std::is_same_v<T, wchar_t> && !std::is_same_v<T, char8_t> &&
                             !std::is_same_v<T, char16_t> && !std::is_same_v<T, char32_t>) {
            if (formatter_) {
                formatter_->out << value;
            } else {
                append_unsigned(value);
            }
        } else {
            try {
                formatter().out << value;
            } catch (...) {
                text_.lose();
            }
        }
        return *this;
    }
    logger_stream& operator<<(std::ostream& (*manipulator)(std::ostream&));
    logger_stream& operator<<(std::ios_base& (*manipulator)(std::ios_base&));
    // A null pointer writes nothing. Inline, so that a literal's length is known when compiled.
    logger_stream& operator<<(const char* text) {
        if (active_ && text != nullptr) {
            text_.append(text, std::char_traits<char>::length(text));
        }
        return *this;
    }
    logger_stream& operator<<(std::string_view text) {
        if (active_) {
            text_.append(text.data(), text.size());
        }
        return *this;
    }
    logger_stream& operator<<(const std::string& text) { return *this << std::string_view(text); }
    // Wide text is converted to UTF-8, but only when the line will be written.
    logger_stream& operator<<(const wchar_t* text) {
        if (active_ && text != nullptr) {
            append_wide(text);
        }
        return *this;
    }
    logger_stream& operator<<(std::wstring_view text) {
        if (active_) {
            append_wide(text);
        }
        return *this;
    }
    logger_stream& operator<<(const std::wstring& text) { return *this << std::wstring_view(text); }

private:
    // The line's bytes: inline up to a size most lines stay under, so composing a line usually
    // allocates nothing. It keeps no more than the logger writes of a line (peer text can be
    // megabytes long) and counts the rest; it never throws: without memory the line is lost.
    class line_text {
    public:
        line_text() = default;
        line_text(const line_text&) = delete;
        line_text& operator=(const line_text&) = delete;

        // Inline while the bytes fit the capacity (never more than a line's room), so that a
        // literal's bytes are copied as a few moves.
        void append(const char* data, std::size_t size) noexcept {
            if (size <= capacity_ - size_ && !lost_) {
                // An empty view may carry no pointer at all, which memcpy must not be given.
                if (size != 0) {
                    std::memcpy(data_ + size_, data, size);
                }
                size_ += size;
                return;
            }
            append_growing(data, size);
        }
        // Room for `size` more bytes (fewer when the line is full: see room()), to be committed
        // with commit().
        char* reserve(std::size_t size) noexcept;
        std::size_t room() const { return kLogLineTextBytes - size_; }
        void commit(std::size_t size) { size_ += size; }
        void count_cut(std::size_t size) { cut_ += size; }
        void lose() { lost_ = true; }
        std::string_view view() const { return {data_, size_}; }
        std::size_t cut() const { return cut_; }
        bool lost() const { return lost_; }

    private:
        void append_growing(const char* data, std::size_t size) noexcept;

        static constexpr std::size_t kInlineBytes = 256;
        char inline_[kInlineBytes];
        std::unique_ptr<char[]> heap_;
        char* data_ = inline_;
        std::size_t size_ = 0;
        std::size_t capacity_ = kInlineBytes;
        std::size_t cut_ = 0;
        bool lost_ = false;
    };

    // A std::ostream writing straight into the line, for what the direct paths do not cover.
    struct ostream_writer final : std::streambuf {
        explicit ostream_writer(line_text& line) : text(line) {}
        int_type overflow(int_type c) override;
        std::streamsize xsputn(const char* data, std::streamsize size) override;

        line_text& text;
        std::ostream out{this};
    };

    // The checks above stay inline, so that a suppressed line costs no call.
    void submit();
    void append_wide(std::wstring_view text);
    ostream_writer& formatter();
    void append_signed(long long value);
    void append_unsigned(unsigned long long value);

    logger* logger_;
    int level_;
    bool active_;
    line_text text_;
    std::optional<ostream_writer> formatter_;
};

}  // namespace core
