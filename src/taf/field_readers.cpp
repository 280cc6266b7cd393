// Field readers of the TAF input stream: each finds its tag, checks the wire type against
// the target and reads the payload, with the integer widening and truncation rules.
#include "taf/input_stream.h"

namespace taf {

Status TafInputStream::readInteger(std::int64_t& value, Tag tag, bool required, TafType widest) {
    TafType type{};
    if (const Status status = openField(tag, required, type); status != kOk) {
        return status;
    }
    if (type == TafType::ZeroTag) {
        value = 0;
        return kOk;
    }
    if (!isIntegerType(type) || type > widest) {
        return kTypeMismatch;
    }
    const std::size_t payload = integerPayloadSize(type);
    if (remaining() < payload) {
        // A 1- or 2-byte payload cut short reads as 0 for targets wider than 8 bits.
        if (payload <= 2 && widest != TafType::Int8) {
            position_ = size();
            value = 0;
            return kOk;
        }
        return kTruncated;
    }
    return readIntPayload(type, value);
}

template <class Int>
Status TafInputStream::readNarrow(Int& target, Tag tag, bool required, TafType widest) {
    std::int64_t wide = 0;
    const Status status = readInteger(wide, tag, required, widest);
    if (status == kOk) {
        target = static_cast<Int>(wide);
    }
    return status < 0 ? status : kOk;
}

Status TafInputStream::readBool(bool& value, Tag tag, bool required) {
    std::int8_t wire = value ? 1 : 0;
    const Status status = readNarrow(wire, tag, required, TafType::Int8);
    value = wire != 0;
    return status;
}

Status TafInputStream::readInt(std::int8_t& value, Tag tag, bool required) {
    return readNarrow(value, tag, required, TafType::Int8);
}

Status TafInputStream::readInt(std::int16_t& value, Tag tag, bool required) {
    return readNarrow(value, tag, required, TafType::Int16);
}

Status TafInputStream::readInt(std::int32_t& value, Tag tag, bool required) {
    return readNarrow(value, tag, required, TafType::Int32);
}

Status TafInputStream::readInt(std::int64_t& value, Tag tag, bool required) {
    return readNarrow(value, tag, required, TafType::Int64);
}

template <class Real>
Status TafInputStream::readReal(Real& value, Tag tag, bool required) {
    TafType type{};
    if (const Status status = openField(tag, required, type); status != kOk) {
        return status < 0 ? status : kOk;
    }
    switch (type) {
        case TafType::ZeroTag:
            value = 0;
            return kOk;
        case TafType::Double: {
            double wide = 0;
            const Status status = readDoublePayload(wide);
            if (status == kOk) {
                value = static_cast<Real>(wide);
            }
            return status;
        }
        case TafType::Float: {
            float narrow = 0;
            const Status status = readFloatPayload(narrow);
            if (status == kOk) {
                value = narrow;
            }
            return status;
        }
        default:
            return kTypeMismatch;
    }
}

Status TafInputStream::readFloat(float& value, Tag tag, bool required) {
    return readReal(value, tag, required);
}

Status TafInputStream::readDouble(double& value, Tag tag, bool required) {
    return readReal(value, tag, required);
}

Status TafInputStream::readString(std::string& value, Tag tag, bool required) {
    TafType type{};
    if (const Status status = openField(tag, required, type); status != kOk) {
        return status < 0 ? status : kOk;
    }
    if (type != TafType::String1 && type != TafType::String4) {
        return kTypeMismatch;
    }
    std::span<const std::uint8_t> bytes;
    Status status = readStringPayload(type, bytes);
    if (status == kOk) {
        status = chargeAllocation(bytes.size());
    }
    if (status == kOk) {
        value.assign(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    return status;
}

Status TafInputStream::readBytes(Bytes& value, Tag tag, bool required) {
    TafType type{};
    if (const Status status = openField(tag, required, type); status != kOk) {
        return status < 0 ? status : kOk;
    }
    if (type == TafType::SimpleList) {
        std::size_t count = 0;
        std::span<const std::uint8_t> bytes;
        Status status = readSimpleListCount(count);
        if (status == kOk) {
            status = chargeAllocation(count);
        }
        if (status == kOk) {
            status = readRaw(count, bytes);
        }
        if (status == kOk) {
            value.assign(bytes.begin(), bytes.end());
        }
        return status;
    }
    if (type != TafType::List) {
        return kTypeMismatch;
    }
    // Some writers send bytes as a List of Int8, one head per byte.
    std::size_t count = 0;
    Status status = readCount(count, 1);
    if (status == kOk) {
        status = chargeAllocation(count);
    }
    if (status != kOk) {
        return status;
    }
    value.resize(count);
    for (std::size_t i = 0; i < count && status == kOk; ++i) {
        std::int8_t element = 0;
        status = readInt(element, 0, true);
        value[i] = static_cast<std::uint8_t>(element);
    }
    return status;
}

}  // namespace taf
