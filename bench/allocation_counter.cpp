// Totals of the benchmark binary's counted operator new.
#include "allocation_counter.h"

#include <atomic>

#include "support/counted_operator_new.h"

namespace {

using bench::AllocationTotals;

std::atomic<std::size_t> g_blocks{0};
std::atomic<std::size_t> g_bytes{0};
thread_local AllocationTotals t_totals;

}  // namespace

void test::CountAllocation(std::size_t bytes) {
    g_blocks.fetch_add(1, std::memory_order_relaxed);
    g_bytes.fetch_add(bytes, std::memory_order_relaxed);
    ++t_totals.blocks;
    t_totals.bytes += bytes;
}

namespace bench {

AllocationTotals AllocationsSoFar() {
    return {g_blocks.load(std::memory_order_relaxed), g_bytes.load(std::memory_order_relaxed)};
}

AllocationTotals ThisThreadAllocations() {
    return t_totals;
}

}  // namespace bench
