// Every status code of the codec and the packet layer, with what each one means.
#pragma once

#include <cstdint>

namespace taf {

// Signed 32-bit result of every stream operation: negative is one of the codes below,
// zero or positive is success.
using Status = std::int32_t;

inline constexpr Status kOk = 0;
// A field reader found nothing at its tag and the field is optional: success, target untouched.
inline constexpr Status kFieldAbsent = 1;

// What reply decoding answers when memory runs out (or a container refuses to grow).
inline constexpr Status kReplyOutOfMemory = -1;

inline constexpr Status kSkipStructFailed = -101;
inline constexpr Status kTypeMismatch = -102;
inline constexpr Status kRequiredMissing = -103;
// Over-long string, negative count, or type code 14/15 met while skipping.
inline constexpr Status kInvalidData = -104;
// Input nested deeper than kMaxDepth.
inline constexpr Status kNestingTooDeep = -105;
// The range ends inside a payload, or a declared size cannot be backed by the input.
inline constexpr Status kTruncated = -106;

// Packet layer: the frame, and the names a request cannot go without.
inline constexpr Status kFrameTooShort = -201;
inline constexpr Status kNoServantName = -202;
inline constexpr Status kNoFunctionName = -203;

// A short description of `status`, for error messages and the log.
constexpr const char* statusName(Status status) {
    switch (status) {
        case kOk:
            return "ok";
        case kFieldAbsent:
            return "an optional field is absent";
        case kReplyOutOfMemory:
            return "out of memory while decoding the reply";
        case kSkipStructFailed:
            return "a nested struct could not be skipped";
        case kTypeMismatch:
            return "a type that does not belong here";
        case kRequiredMissing:
            return "a required field is missing";
        case kInvalidData:
            return "a negative count, an over-long string or a type code 14 or 15";
        case kNestingTooDeep:
            return "nested deeper than the decoder follows";
        case kTruncated:
            return "the input ends inside a value, or a size it cannot hold";
        case kFrameTooShort:
            return "fewer than the 4 bytes of the frame length";
        case kNoServantName:
            return "the request has no servant name";
        case kNoFunctionName:
            return "the request has no function name";
        default:
            return "unknown status";
    }
}

}  // namespace taf
