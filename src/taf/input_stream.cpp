// Read cursor of the TAF encoding: heads, skipping, counts, raw payloads and the limits.
#include "taf/input_stream.h"

#include <bit>

namespace taf {

void TafInputStream::reset(std::span<const std::uint8_t> bytes) {
    bytes_ = bytes;
    position_ = 0;
    depth_ = 0;
    budget_ = allocationBudget(bytes.size());
    skipped_fields_ = 0;
}

std::uint64_t TafInputStream::takeBigEndian(std::size_t byteCount) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < byteCount; ++i) {
        value = value << 8 | bytes_[position_ + i];
    }
    position_ += byteCount;
    return value;
}

Status TafInputStream::peekHead(Head& head) const {
    if (remaining() < 1) {
        return kTruncated;
    }
    const std::uint8_t first = bytes_[position_];
    head.type = static_cast<TafType>(first & 0x0F);
    head.tag = static_cast<Tag>(first >> 4);
    head.size = 1;
    if (head.tag == 15) {
        if (remaining() < 2) {
            return kTruncated;
        }
        head.tag = bytes_[position_ + 1];
        head.size = 2;
    }
    return kOk;
}

Status TafInputStream::readHead(Head& head) {
    const Status status = peekHead(head);
    if (status == kOk) {
        position_ += head.size;
    }
    return status;
}

bool TafInputStream::skipToTag(Tag tag) {
    Head head;
    while (peekHead(head) == kOk) {
        if (head.type == TafType::StructEnd) {
            return false;  // the enclosing record ends here
        }
        if (head.tag >= tag) {
            return head.tag == tag;
        }
        ++skipped_fields_;
        position_ += head.size;
        if (skipValue(head.type) < 0) {
            return false;
        }
    }
    return false;
}

Status TafInputStream::skipValue(TafType type) {
    std::span<const std::uint8_t> ignored;
    switch (type) {
        case TafType::Int8:
        case TafType::Int16:
        case TafType::Int32:
        case TafType::Int64:
            return readRaw(integerPayloadSize(type), ignored);
        case TafType::Float:
            return readRaw(4, ignored);
        case TafType::Double:
            return readRaw(8, ignored);
        case TafType::String1:
        case TafType::String4:
            return readStringPayload(type, ignored);
        case TafType::Map:
        case TafType::List: {
            NestingGuard nesting(*this);
            if (nesting.status() != kOk) {
                return nesting.status();
            }
            const std::size_t valuesPerElement = type == TafType::Map ? 2 : 1;
            std::size_t count = 0;
            Status status = readCount(count, valuesPerElement);
            Head head;
            for (std::size_t i = 0; status >= 0 && i < count * valuesPerElement; ++i) {
                status = readHead(head);
                if (status >= 0) {
                    status = skipValue(head.type);
                }
            }
            return status;
        }
        case TafType::StructBegin:
            return skipToStructEnd();
        case TafType::StructEnd:
        case TafType::ZeroTag:
            return kOk;
        case TafType::SimpleList: {
            std::size_t count = 0;
            const Status status = readSimpleListCount(count);
            return status < 0 ? status : readRaw(count, ignored);
        }
    }
    return kInvalidData;  // codes 14 and 15 are never written
}

Status TafInputStream::skipFieldsToStructEnd() {
    NestingGuard nesting(*this);
    if (nesting.status() != kOk) {
        return nesting.status();
    }
    Head head;
    for (;;) {
        if (readHead(head) < 0) {
            return kSkipStructFailed;
        }
        if (head.type == TafType::StructEnd) {
            return kOk;
        }
        ++skipped_fields_;
        if (skipValue(head.type) < 0) {
            return kSkipStructFailed;
        }
    }
}

Status TafInputStream::searchField(Tag tag, bool required, TafType& type) {
    if (!skipToTag(tag)) {
        return required ? kRequiredMissing : kFieldAbsent;
    }
    Head head;
    // skipToTag has just peeked this head, so reading it cannot fail.
    static_cast<void>(readHead(head));
    type = head.type;
    return kOk;
}

Status TafInputStream::readSimpleListCount(std::size_t& count) {
    Head inner;
    if (readHead(inner) < 0) {
        return kTruncated;
    }
    if (inner.type != TafType::Int8) {
        return kTypeMismatch;
    }
    return readCount(count, 1);
}

Status TafInputStream::readCountInGeneral(std::size_t& count, std::size_t minWireBytes) {
    std::int32_t declared = 0;
    if (const Status status = readInt(declared, 0, true); status < 0) {
        return status;
    }
    if (declared < 0) {
        return kInvalidData;
    }
    if (static_cast<std::size_t>(declared) > remaining() / minWireBytes) {
        return kTruncated;
    }
    count = static_cast<std::size_t>(declared);
    return kOk;
}

Status TafInputStream::readIntPayload(TafType type, std::int64_t& value) {
    if (type == TafType::ZeroTag) {
        value = 0;
        return kOk;
    }
    if (!isIntegerType(type)) {
        return kTypeMismatch;
    }
    const std::size_t size = integerPayloadSize(type);
    if (remaining() < size) {
        return kTruncated;
    }
    const std::uint64_t raw = takeBigEndian(size);
    switch (type) {
        case TafType::Int8:
            value = static_cast<std::int8_t>(raw);
            break;
        case TafType::Int16:
            value = static_cast<std::int16_t>(raw);
            break;
        case TafType::Int32:
            value = static_cast<std::int32_t>(raw);
            break;
        default:
            value = static_cast<std::int64_t>(raw);
            break;
    }
    return kOk;
}

Status TafInputStream::readFloatPayload(float& value) {
    if (remaining() < 4) {
        return kTruncated;
    }
    value = std::bit_cast<float>(static_cast<std::uint32_t>(takeBigEndian(4)));
    return kOk;
}

Status TafInputStream::readDoublePayload(double& value) {
    if (remaining() < 8) {
        return kTruncated;
    }
    value = std::bit_cast<double>(takeBigEndian(8));
    return kOk;
}

Status TafInputStream::readStringPayload(TafType type, std::span<const std::uint8_t>& bytes) {
    std::size_t length = 0;
    if (type == TafType::String1) {
        if (remaining() < 1) {
            return kTruncated;
        }
        length = takeBigEndian(1);
    } else {
        if (remaining() < 4) {
            return kTruncated;
        }
        const auto declared = static_cast<std::int32_t>(takeBigEndian(4));
        if (declared < 0 || static_cast<std::size_t>(declared) > kMaxStringLength) {
            return kInvalidData;
        }
        length = static_cast<std::size_t>(declared);
    }
    return readRaw(length, bytes);
}

Status TafInputStream::readRaw(std::size_t count, std::span<const std::uint8_t>& bytes) {
    if (count > remaining()) {
        return kTruncated;
    }
    bytes = bytes_.subspan(position_, count);
    position_ += count;
    return kOk;
}

}  // namespace taf
