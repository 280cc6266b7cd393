#include "core/logger_stream.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <new>

#include "core/text.h"

namespace core {

void logger_stream::line_text::append_growing(const char* data, std::size_t size) noexcept {
    const std::size_t kept = std::min(size, room());
    char* at = reserve(kept);
    if (at == nullptr) {
        return;
    }
    // An empty view may carry no pointer at all, which memcpy must not be given.
    if (kept != 0) {
        std::memcpy(at, data, kept);
    }
    size_ += kept;
    cut_ += size - kept;
}

char* logger_stream::line_text::reserve(std::size_t size) noexcept {
    if (lost_) {
        return nullptr;
    }
    size = std::min(size, room());
    if (size > capacity_ - size_) {
        const std::size_t capacity =
            std::min(std::max(capacity_ * 2, size_ + size), kLogLineTextBytes);
        std::unique_ptr<char[]> grown(new (std::nothrow) char[capacity]);
        if (!grown) {
            lost_ = true;
            return nullptr;
        }
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
    if (text_.lost()) {
        logger_->count_lost();
    } else if (!text_.view().empty() || text_.cut() > 0) {
        logger_->log(level_, text_.view(), text_.cut());
    }
}

// Called inside a try: building the stream can fail for want of memory.
logger_stream::ostream_writer& logger_stream::formatter() {
    if (!formatter_) {
        formatter_.emplace(text_);
    }
    return *formatter_;
}

void logger_stream::append_signed(long long value) {
    char digits[24];
    text_.append(digits,
                 static_cast<std::size_t>(std::to_chars(digits, digits + 24, value).ptr - digits));
}

void logger_stream::append_unsigned(unsigned long long value) {
    char digits[24];
    text_.append(digits,
                 static_cast<std::size_t>(std::to_chars(digits, digits + 24, value).ptr - digits));
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

namespace {

// The UTF-8 size of wide text that the line has no room for, for the cut marker (an unpaired
// surrogate counts as the replacement character it would become).
std::size_t utf8_size(std::wstring_view text) {
    std::size_t size = 0;
    for (const wchar_t unit : text) {
        const auto value =
            static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<wchar_t>>(unit));
        size += value < 0x80                          ? 1
                : value < 0x800                       ? 2
                : (value >= 0xD800 && value < 0xE000) ? 2
                : value < 0x10000                     ? 3
                                                      : 4;
    }
    return size;
}

// Copies the leading ASCII units of `text` to `out` and returns how many there were. Four units
// are checked at a time (two words of 8 bytes on either width of wchar_t), which halves the work
// per unit of a unit-by-unit loop; the function names every line starts with are ASCII.
std::size_t copy_ascii(std::wstring_view text, char* out) {
    static_assert(sizeof(wchar_t) == 2 || sizeof(wchar_t) == 4);
    constexpr std::size_t kUnitsPerWord = sizeof(std::uint64_t) / sizeof(wchar_t);
    constexpr std::size_t kUnitsPerStep = 2 * kUnitsPerWord;
    constexpr std::uint64_t kNonAscii = [] {
        const std::uint64_t unitMask = (std::uint64_t{1} << (8 * sizeof(wchar_t))) - 1;
        std::uint64_t mask = 0;
        for (std::size_t i = 0; i < kUnitsPerWord; ++i) {
            mask |= (unitMask & ~std::uint64_t{0x7F}) << (i * 8 * sizeof(wchar_t));
        }
        return mask;
    }();
    std::size_t i = 0;
    for (; i + kUnitsPerStep <= text.size(); i += kUnitsPerStep) {
        std::uint64_t words[2];
        std::memcpy(words, text.data() + i, sizeof words);
        if (((words[0] | words[1]) & kNonAscii) != 0) {
            break;
        }
        for (std::size_t j = 0; j < kUnitsPerStep; ++j) {
            out[i + j] = static_cast<char>(text[i + j]);
        }
    }
    for (; i < text.size() && static_cast<std::make_unsigned_t<wchar_t>>(text[i]) < 0x80; ++i) {
        out[i] = static_cast<char>(text[i]);
    }
    return i;
}

}  // namespace

// ASCII, what almost every line holds, is copied as it stands; anything else goes through the
// shared converter. Only what can still fit the line is converted: every unit gives at least
// one byte.
void logger_stream::append_wide(std::wstring_view text) {
    std::size_t fits = std::min(text.size(), text_.room());
    if (fits < text.size() && fits > 0 && text[fits - 1] >= 0xD800 && text[fits - 1] < 0xDC00) {
        --fits;  // a surrogate pair is not split
    }
    const std::wstring_view kept = text.substr(0, fits);
    text_.count_cut(utf8_size(text.substr(fits)));
    char* out = text_.reserve(kept.size());
    if (out == nullptr) {
        return;
    }
    if (copy_ascii(kept, out) < kept.size()) {
        try {
            const std::string converted = WideToUtf8(kept.data(), static_cast<int>(kept.size()));
            text_.append(converted.data(), converted.size());
        } catch (...) {
            text_.lose();
        }
        return;
    }
    text_.commit(kept.size());
}

}  // namespace core
