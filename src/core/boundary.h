// Calls from the host, the channel or the OS run their body through at_boundary: whatever it
// throws is logged at "err" and goes no further.
#pragma once

#include <exception>
#include <type_traits>
#include <utility>

#include "core/logger_stream.h"

namespace core {

inline void log_escaped_exception(const wchar_t* where, const char* what) noexcept {
    try {
        logger_stream(level_err) << where << " exception " << what;
    } catch (...) {
        // Nothing is left to report with when logging itself fails.
    }
}

// Runs `body`; returns its result, or `fallback` when it throws.
template <typename Body, typename Result = std::invoke_result_t<Body>>
Result at_boundary(const wchar_t* where, Body&& body,
                   std::type_identity_t<Result> fallback) noexcept {
    try {
        return std::forward<Body>(body)();
    } catch (const std::exception& error) {
        log_escaped_exception(where, error.what());
    } catch (...) {
        log_escaped_exception(where, "of unknown type");
    }
    return fallback;
}

template <typename Body>
void at_boundary(const wchar_t* where, Body&& body) noexcept {
    try {
        std::forward<Body>(body)();
    } catch (const std::exception& error) {
        log_escaped_exception(where, error.what());
    } catch (...) {
        log_escaped_exception(where, "of unknown type");
    }
}

}  // namespace core
