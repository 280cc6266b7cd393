// Storing, finding and (de)serialising the values of a UniAttribute body.
#include "taf/uni_attribute.h"

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

}  // namespace taf
