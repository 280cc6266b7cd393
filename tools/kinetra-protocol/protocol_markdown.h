// docs/protocol.md written from the protocol catalogue.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/protocol_catalog.h"

namespace protocoldoc {

struct TaskOptionValues {
    std::uint32_t values[4] = {};
};

// The whole reference; the same tables always give the same text.
std::string WriteProtocolMarkdown(const tafjson::ProtocolCatalog& catalog, std::string_view channel,
                                  const TaskOptionValues& options);

}  // namespace protocoldoc
