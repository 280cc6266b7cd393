// Whether standard error is a terminal, where progress can rewrite one line in place.
#pragma once

namespace kinetra_sim {

bool StandardErrorIsTerminal();

}  // namespace kinetra_sim
