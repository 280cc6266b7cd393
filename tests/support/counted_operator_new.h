// The binary's global operator new and delete, replaced so that every allocation is reported to
// CountAllocation, which the binary that links them defines (the tests' probe, the benchmarks'
// totals). Blocks come from malloc; a failure throws, or gives null for the nothrow forms.
#pragma once

#include <cstddef>

namespace test {

void CountAllocation(std::size_t bytes);

}  // namespace test
