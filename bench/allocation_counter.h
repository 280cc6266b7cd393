// Allocations made through operator new in the benchmark binary, counted so that a benchmark
// can report what one iteration allocates beside its time.
#pragma once

#include <cstddef>

namespace bench {

struct AllocationTotals {
    std::size_t blocks = 0;
    std::size_t bytes = 0;
};

// Everything allocated since the program started, all threads.
AllocationTotals AllocationsSoFar();

}  // namespace bench
