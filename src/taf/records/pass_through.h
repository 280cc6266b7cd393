// Server requests the engine encodes itself (22) and their replies (23): each a complete frame.
#pragma once

#include "taf/record_table.h"
#include "taf/wire.h"

namespace MeruKinetra {

struct MeruTafTransDataReq {
    taf::Bytes vData;

    static constexpr auto tafTable() {
        return taf::table("MeruTafTransDataReq",
                          taf::optional(0, &MeruTafTransDataReq::vData, "vData"));
    }
};

struct MeruTafTransDataRsp {
    taf::Bytes vData;

    static constexpr auto tafTable() {
        return taf::table("MeruTafTransDataRsp",
                          taf::optional(0, &MeruTafTransDataRsp::vData, "vData"));
    }
};

}  // namespace MeruKinetra
