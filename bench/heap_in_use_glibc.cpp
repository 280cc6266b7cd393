// The heap in use, as the C library of the benchmark's platform reports it.
#include <malloc.h>

#include "allocation_counter.h"

std::size_t bench::HeapInUse() {
    // Blocks in the arenas plus the large ones mapped on their own.
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}
