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
    std::span<const std::uint8_t> view;
    const Status status = readOpenedBytes(type, view, value);
    if (status == kOk && type == TafType::SimpleList) {
        value.assign(view.begin(), view.end());
    }
    return status;
}

Status TafInputStream::readOpenedBytes(TafType type, std::span<const std::uint8_t>& view,
                                       Bytes& spelled) {
    std::size_t count = 0;
    if (type == TafType::SimpleList) {
        Status status = readSimpleListCount(count);
        if (status == kOk) {
            status = chargeAllocation(count);
        }
        return status == kOk ? readRaw(count, view) : status;
    }
    if (type != TafType::List) {
        return kTypeMismatch;
    }
    // Some writers send bytes as a List of Int8, one head per byte.
    Status status = readCount(count, 1);
    if (status == kOk) {
        status = chargeAllocation(count);
    }
    if (status != kOk) {
        return status;
    }
    spelled.resize(count);
    for (std::size_t i = 0; i < count && status == kOk; ++i) {
        std::int8_t element = 0;
        status = readInt(element, 0, true);
        spelled[i] = static_cast<std::uint8_t>(element);
    }
    view = spelled;
    return status;
}

}  // namespace taf
