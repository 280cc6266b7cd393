// kinetra-sim diff: what changed between two JSON traces of one scenario, times left out:
// events only in one of them and, for events in both, the fields that differ by name.
#pragma once

#include <ostream>
#include <string>

namespace kinetra_sim {

// Exit codes: the traces match, they differ, an input could not be read.
inline constexpr int kDiffSame = 0;
inline constexpr int kDiffDiffer = 1;
inline constexpr int kDiffUnreadable = 2;

int DiffTraces(const std::string& pathA, const std::string& pathB, std::ostream& out,
               std::ostream& messages);

}  // namespace kinetra_sim
