// The session as one self-contained HTML page: a sequence diagram with the lanes engine,
// plug-in, host and servers, one arrow per trace line. Nothing is fetched: style, script and
// data are in the page.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "common/json.h"

namespace kinetra_sim {

void WriteHtmlPage(const std::vector<tafjson::Json>& lines, const std::string& title,
                   std::ostream& out);

}  // namespace kinetra_sim
