// docs/protocol.md written from the protocol catalogue and the engine route tables.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/protocol_catalog.h"

namespace protocoldoc {

// One area of the plug-in that handles engine messages, with the types its table routes.
struct RouteArea {
    std::string_view name;
    std::vector<std::int32_t> types;
};

// An engine message type and one type the plug-in answers it with.
struct EngineAnswer {
    std::int32_t request;
    std::int32_t answer;
};

struct TaskOptionValues {
    std::uint32_t values[4] = {};
};

// The whole reference; the same tables always give the same text.
std::string WriteProtocolMarkdown(const tafjson::ProtocolCatalog& catalog,
                                  const std::vector<RouteArea>& areas,
                                  const std::vector<EngineAnswer>& answers,
                                  std::string_view channel, const TaskOptionValues& options);

}  // namespace protocoldoc
