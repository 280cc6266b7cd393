// Storing, finding and (de)serialising the values of a UniAttribute body.
#include "taf/uni_attribute.h"

#include <limits>

namespace taf {

void UniAttribute::putEncoded(std::string_view name, std::string_view typeName, Bytes value) {
    if (iVer_ == 3) {
        data3_.insert_or_assign(std::string(name), std::move(value));
        return;
    }
    auto entry = data2_.find(name);
    if (entry == data2_.end()) {
        entry = data2_.emplace(std::string(name), TypedValues{}).first;
    }
    entry->second.insert_or_assign(std::string(typeName), std::move(value));
}

const Bytes* UniAttribute::find(std::string_view name, std::string_view typeName) const {
    if (iVer_ == 3) {
        const auto entry = data3_.find(name);
        return entry == data3_.end() ? nullptr : &entry->second;
    }
    const auto entry = data2_.find(name);
    if (entry == data2_.end() || entry->second.empty()) {
        return nullptr;
    }
    const TypedValues& types = entry->second;
    if (const auto match = types.find(typeName); match != types.end()) {
        return &match->second;
    }
    const auto& [firstType, firstValue] = *types.begin();
    return firstType.find(kAnyTypeMarker) == std::string::npos ? nullptr : &firstValue;
}

Status UniAttribute::writeBody(TafOutputStream& out, bool version3) const {
    return version3 ? writeValue(out, data3_, 0) : writeValue(out, data2_, 0);
}

namespace {

// Reads the body map over what `values` holds, so that a reused attribute refills its nodes;
// an absent body leaves it empty.
template <class Values>
Status readBodyOver(TafInputStream& in, Values& values) {
    TafType type{};
    const Status status = in.openField(0, true, type);
    if (status != kOk) {
        values.clear();
        return status < 0 ? status : kOk;
    }
    return readOpened(in, values, type);
}

}  // namespace

Status UniAttribute::readBody(TafInputStream& in, bool version3) {
    return version3 ? readBodyOver(in, data3_) : readBodyOver(in, data2_);
}

namespace {

// The map field at `tag`, opened and counted as the map reader does.
Status openMap(TafInputStream& in, Tag tag, std::size_t& count) {
    TafType type{};
    Status status = in.openField(tag, true, type);
    if (status == kOk && type != TafType::Map) {
        status = kTypeMismatch;
    }
    return status == kOk ? in.readCount(count, 2) : status;
}

// A map entry's key, viewed, after the charge for the entry.
Status readEntryKey(TafInputStream& in, std::size_t entryBytes, std::string_view& key) {
    const Status status = in.chargeAllocation(entryBytes);
    return status == kOk ? readWireKey<std::string>(in, key) : status;
}

// Bytes at `tag` as readValue reads them into a vector; the form with a head per byte is read
// into `spelled`.
Status readBytesAt(TafInputStream& in, Tag tag, std::span<const std::uint8_t>& bytes,
                   Bytes& spelled) {
    if (in.takeShortBytes(tag, bytes)) {
        return kOk;
    }
    TafType type{};
    const Status status = in.openField(tag, true, type);
    return status == kOk ? in.readOpenedBytes(type, bytes, spelled) : status;
}

}  // namespace

// The map reader stops at the first entry that fails and keeps the first of equal keys, so the
// first entry of the name decides, provided every entry up to it is read whole.
bool EncodedBody::find(std::string_view name, std::string_view typeName,
                       std::span<const std::uint8_t>& bytes) {
    TafInputStream in(body_);
    std::size_t count = 0;
    if (openMap(in, 0, count) != kOk) {
        return false;
    }
    const std::size_t entryBytes =
        version3_ ? kMapEntryBytes<UniAttribute::Values3> : kMapEntryBytes<UniAttribute::Values2>;
    for (std::size_t i = 0; i < count; ++i) {
        std::string_view key;
        if (readEntryKey(in, entryBytes, key) != kOk) {
            return false;
        }
        bool chosen = true;
        const Status status = version3_ ? readBytesAt(in, 1, bytes, spelled_)
                                        : readTypedValues(in, typeName, chosen, bytes);
        if (status != kOk) {
            return false;
        }
        if (key == name) {
            return chosen;
        }
    }
    return false;
}

// The value of a version-2 entry that UniAttribute::find picks among its type names: that of
// `typeName`, or else that of the lowest type name when it holds the marker.
Status EncodedBody::readTypedValues(TafInputStream& in, std::string_view typeName, bool& chosen,
                                    std::span<const std::uint8_t>& bytes) {
    std::size_t count = 0;
    Status status = openMap(in, 1, count);
    if (status != kOk) {
        return status;
    }
    // Of equal type names the first counts. Bytes spelled a head per byte may be spelled over
    // by a later value, so the entries are read again up to a pick that was spelled.
    constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
    std::size_t exact = kNone;
    std::size_t lowest = kNone;
    std::string_view lowestName;
    std::span<const std::uint8_t> exactBytes;
    std::span<const std::uint8_t> lowestBytes;
    bool spelledExact = false;
    bool spelledLowest = false;
    const auto readEntry = [this, &bytes](TafInputStream& from, std::string_view& name) {
        const Status read = readEntryKey(from, kMapEntryBytes<UniAttribute::TypedValues>, name);
        return read == kOk ? readBytesAt(from, 1, bytes, spelled_) : read;
    };
    const TafInputStream entries = in;
    for (std::size_t i = 0; i < count; ++i) {
        std::string_view name;
        status = readEntry(in, name);
        if (status != kOk) {
            return status;
        }
        const bool spelled = !bytes.empty() && bytes.data() == spelled_.data();
        if (exact == kNone && name == typeName) {
            exact = i;
            exactBytes = bytes;
            spelledExact = spelled;
        }
        if (lowest == kNone || name < lowestName) {
            lowest = i;
            lowestName = name;
            lowestBytes = bytes;
            spelledLowest = spelled;
        }
    }
    chosen = exact != kNone ||
             (lowest != kNone && lowestName.find(kAnyTypeMarker) != std::string_view::npos);
    if (!chosen) {
        return kOk;
    }
    const std::size_t pick = exact != kNone ? exact : lowest;
    bytes = exact != kNone ? exactBytes : lowestBytes;
    if (!(exact != kNone ? spelledExact : spelledLowest)) {
        return kOk;
    }
    TafInputStream again = entries;
    for (std::size_t i = 0; i <= pick && status == kOk; ++i) {
        std::string_view name;
        status = readEntry(again, name);
    }
    return status;
}

}  // namespace taf
