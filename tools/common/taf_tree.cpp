// Schema-less decoding and encoding of TAF field trees.
#include "common/taf_tree.h"

#include "taf/input_stream.h"
#include "taf/record_schema.h"

namespace tafjson {
namespace {

using taf::Status;
using taf::TafType;

class TreeDecoder {
public:
    explicit TreeDecoder(std::span<const std::uint8_t> bytes)
        : in_(bytes), budget_(kTreeBudgetFloor + kTreeBudgetPerInputByte * bytes.size()) {}

    TreeDecodeResult decode(std::vector<TafField>& fields) {
        const Status status = decodeFields(fields, false);
        return {status, errorOffset_, overBudget_};
    }

private:
    Status fail(Status status, std::size_t offset) {
        if (!failed_) {
            failed_ = true;
            errorOffset_ = offset;
        }
        return status;
    }

    // Fields up to the end of the input, or up to and including a StructEnd.
    Status decodeFields(std::vector<TafField>& fields, bool inStruct) {
        for (;;) {
            if (!inStruct && in_.remaining() == 0) {
                return taf::kOk;
            }
            const std::size_t offset = in_.position();
            taf::Head head;
            if (const Status status = in_.readHead(head); status < 0) {
                return fail(status, offset);
            }
            if (head.type == TafType::StructEnd) {
                return inStruct ? taf::kOk : fail(taf::kTypeMismatch, offset);
            }
            if (const Status status = decodeValue(fields, head, offset); status < 0) {
                return status;
            }
        }
    }

    // One value whose head has been read; a StructEnd is not a value here.
    Status decodeValue(std::vector<TafField>& fields, const taf::Head& head, std::size_t offset) {
        if (budget_ < kTreeFieldCost) {
            overBudget_ = true;
            return fail(taf::kTruncated, offset);
        }
        budget_ -= kTreeFieldCost;
        TafField& field = fields.emplace_back();
        field.tag = head.tag;
        field.type = head.type;
        field.offset = offset;
        const Status status = decodePayload(field);
        return status < 0 ? fail(status, offset) : status;
    }

    Status decodePayload(TafField& field) {
        std::span<const std::uint8_t> raw;
        switch (field.type) {
            case TafType::Int8:
            case TafType::Int16:
            case TafType::Int32:
            case TafType::Int64:
            case TafType::ZeroTag:
                return in_.readIntPayload(field.type, field.integer);
            case TafType::Float:
            case TafType::Double: {
                const Status status = in_.readRaw(field.type == TafType::Float ? 4 : 8, raw);
                for (const std::uint8_t byte : raw) {
                    field.floatBits = field.floatBits << 8 | byte;
                }
                return status;
            }
            case TafType::String1:
            case TafType::String4: {
                Status status = in_.readStringPayload(field.type, raw);
                if (status == taf::kOk) {
                    status = in_.chargeAllocation(raw.size());
                }
                field.bytes.assign(raw.begin(), raw.end());
                return status;
            }
            case TafType::SimpleList: {
                taf::Head inner;
                if (const Status status = in_.readHead(inner); status < 0) {
                    return status;
                }
                if (inner.type != TafType::Int8) {
                    return taf::kTypeMismatch;
                }
                std::size_t count = 0;
                Status status = readCount(count, 1);
                if (status == taf::kOk) {
                    status = in_.chargeAllocation(count);
                }
                if (status == taf::kOk) {
                    status = in_.readRaw(count, raw);
                }
                field.bytes.assign(raw.begin(), raw.end());
                return status;
            }
            case TafType::List:
            case TafType::Map:
                return decodeElements(field);
            case TafType::StructBegin: {
                const taf::NestingGuard nesting(in_);
                return nesting.status() < 0 ? nesting.status() : decodeFields(field.children, true);
            }
            case TafType::StructEnd:
                break;
        }
        return taf::kInvalidData;  // codes 14 and 15
    }

    // Unlike the typed readers, a count must be complete: the tree has to reproduce it.
    Status readCount(std::size_t& count, std::size_t minWireBytes) {
        taf::Head head;
        std::int64_t declared = 0;
        if (const Status status = in_.readHead(head); status < 0) {
            return status;
        }
        if (head.tag != 0) {
            return taf::kRequiredMissing;
        }
        if (const Status status = in_.readIntPayload(head.type, declared); status < 0) {
            return status;
        }
        if (declared < 0) {
            return taf::kInvalidData;
        }
        if (static_cast<std::uint64_t>(declared) > in_.remaining() / minWireBytes) {
            return taf::kTruncated;
        }
        count = static_cast<std::size_t>(declared);
        return taf::kOk;
    }

    // Elements are appended as they are read, so a count the input cannot back costs nothing.
    Status decodeElements(TafField& field) {
        const taf::NestingGuard nesting(in_);
        if (nesting.status() < 0) {
            return nesting.status();
        }
        const std::size_t valuesPerElement = field.type == TafType::Map ? 2 : 1;
        std::size_t count = 0;
        if (const Status status = readCount(count, valuesPerElement); status < 0) {
            return status;
        }
        for (std::size_t i = 0; i < count * valuesPerElement; ++i) {
            const std::size_t offset = in_.position();
            taf::Head head;
            if (const Status status = in_.readHead(head); status < 0) {
                return fail(status, offset);
            }
            if (head.type == TafType::StructEnd) {
                return fail(taf::kTypeMismatch, offset);
            }
            if (const Status status = decodeValue(field.children, head, offset); status < 0) {
                return status;
            }
        }
        return taf::kOk;
    }

    taf::TafInputStream in_;
    bool failed_ = false;
    std::size_t errorOffset_ = 0;
    std::size_t budget_;
    bool overBudget_ = false;
};

}  // namespace

TreeDecodeResult decodeTree(std::span<const std::uint8_t> bytes, std::vector<TafField>& fields) {
    return TreeDecoder(bytes).decode(fields);
}

void encodeTree(taf::TafOutputStream& out, const std::vector<TafField>& fields) {
    for (const TafField& field : fields) {
        out.writeHead(field.type, field.tag);
        switch (field.type) {
            case TafType::Int8:
                out.appendInt8(static_cast<std::int8_t>(field.integer));
                break;
            case TafType::Int16:
                out.appendInt16(static_cast<std::int16_t>(field.integer));
                break;
            case TafType::Int32:
            case TafType::Float:
                out.appendInt32(static_cast<std::int32_t>(
                    field.type == TafType::Float ? field.floatBits : field.integer));
                break;
            case TafType::Int64:
            case TafType::Double:
                out.appendInt64(static_cast<std::int64_t>(
                    field.type == TafType::Double ? field.floatBits : field.integer));
                break;
            case TafType::String1:
                out.appendInt8(static_cast<std::int8_t>(field.bytes.size()));
                out.append(field.bytes);
                break;
            case TafType::String4:
                out.appendInt32(static_cast<std::int32_t>(field.bytes.size()));
                out.append(field.bytes);
                break;
            case TafType::SimpleList:
                out.writeHead(TafType::Int8, 0);
                out.writeInt(static_cast<std::int64_t>(field.bytes.size()), 0);
                out.append(field.bytes);
                break;
            case TafType::List:
            case TafType::Map:
                out.writeInt(
                    static_cast<std::int64_t>(field.type == TafType::Map ? field.children.size() / 2
                                                                         : field.children.size()),
                    0);
                encodeTree(out, field.children);
                break;
            case TafType::StructBegin:
                encodeTree(out, field.children);
                out.writeStructEnd();
                break;
            default:
                break;  // ZeroTag has no payload; the JSON reader admits no other type
        }
    }
}

bool fitsType(const TafField& field, const taf::TypeSchema& type) {
    if (type.record != nullptr) {
        return field.type == taf::TafType::StructBegin;
    }
    if (type.key != nullptr) {
        return field.type == taf::TafType::Map;
    }
    if (type.element != nullptr) {
        return field.type == taf::TafType::List;
    }
    return field.type != taf::TafType::StructBegin && field.type != taf::TafType::List &&
           field.type != taf::TafType::Map;
}

}  // namespace tafjson
