// Allocations made through operator new in the benchmark binary, counted so that a benchmark
// can report what one iteration allocates beside its time.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>

namespace bench {

struct AllocationTotals {
    std::size_t blocks = 0;
};

// Everything allocated since the program started, all threads.
AllocationTotals AllocationsSoFar();
// What the calling thread has allocated since it started.
AllocationTotals ThisThreadAllocations();

// Bytes the C library's heap has handed out and not taken back, its own headers included.
std::size_t HeapInUse();

// Makes an object and reports what it holds: heap_bytes, the heap in use afterwards less before
// (blocks freed on the way, like a list's outgrown buffers, are not counted), and heap_blocks,
// the blocks allocated. The object is returned, so its caller can still check it.
template <class Make>
auto ReportHeap(benchmark::State& state, Make&& make) {
    const std::size_t heapBefore = HeapInUse();
    const AllocationTotals before = AllocationsSoFar();
    auto made = make();
    const AllocationTotals after = AllocationsSoFar();
    state.counters["heap_bytes"] = static_cast<double>(HeapInUse() - heapBefore);
    state.counters["heap_blocks"] = static_cast<double>(after.blocks - before.blocks);
    return made;
}

}  // namespace bench
