// Field payload readers of the TAF input stream, after the field's head: each checks the wire
// type against the target and reads the payload; the integer and short-string fast paths are
// inline in the header.
#include "taf/input_stream.h"

namespace taf {

template <class Real>
Status TafInputStream::readReal(Real& value, TafType type) {
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

Status TafInputStream::readOpened(float& value, TafType type) {
    return readReal(value, type);
}

Status TafInputStream::readOpened(double& value, TafType type) {
    return readReal(value, type);
}

Status TafInputStream::readStringSlow(std::string_view& value, TafType type) {
    if (type != TafType::String1 && type != TafType::String4) {
        return kTypeMismatch;
    }
    std::span<const std::uint8_t> bytes;
    Status status = readStringPayload(type, bytes);
    if (status == kOk) {
        status = chargeAllocation(bytes.size());
    }
    if (status == kOk) {
        value = {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
    }
    return status;
}

Status TafInputStream::readOpened(Bytes& value, TafType type) {
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
