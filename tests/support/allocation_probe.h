// Counts what operator new hands out on the current thread while a probe is alive, so tests
// can check that decoders allocate no more than their input justifies. ThreadSanitizer's
// runtime owns operator new, so its build counts nothing; the other builds check the bounds.
#pragma once

#include <cstddef>

namespace test {

class AllocationProbe {
public:
    AllocationProbe();
    ~AllocationProbe();
    AllocationProbe(const AllocationProbe&) = delete;
    AllocationProbe& operator=(const AllocationProbe&) = delete;

    // Sum of all allocations, freed or not.
    std::size_t totalBytes() const { return total_; }

    void record(std::size_t bytes) { total_ += bytes; }

private:
    [[maybe_unused]] AllocationProbe* previous_;  // unused where nothing is counted
    std::size_t total_ = 0;
};

}  // namespace test
