// Reading the start configuration's values into the engine's message 2000: the banner JSON,
// the updater list and the presenter camera's detail text.
#pragma once

#include <string>

#include "taf/records/start_config.h"

namespace kinetra {

// Images, jumps and tips of the banner JSON, appended to `message`; nothing for text that is
// not a JSON object.
void ReadBannerTips(const std::string& json, MeruKinetra::StartConfigMsg& message);

// Walks the updater list (a JSON array), each complete element overwriting `updater`. False
// when an element lacks "url" or "md5": the walk stops there and keeps what was read.
[[nodiscard]] bool ReadUpdaterConfig(const std::string& json, MeruKinetra::UpdaterConfig& updater);

// The camera's key and value from its detail text "key:value", whose value spells ':' as
// "#3A" and '#' as "#22"; a detail with more parts goes whole into the value, keyed by `name`.
// Leaves the float pairs to the caller.
MeruKinetra::CameraInfo CameraFromDetail(const std::string& name, const std::string& detail);

}  // namespace kinetra
