// Test allocator for the JSON tree: counts live blocks and fails a chosen allocation.
#pragma once

#include <atomic>
#include <cstdlib>

#include <gtest/gtest.h>

#include "core/json_node.h"

namespace meru::testing {

// Installed for its lifetime; allocation number `failAt` (from 0) fails, or none when negative.
class CountingAllocator {
public:
    explicit CountingAllocator(long failAt = -1) {
        failAt_ = failAt;
        count_ = 0;
        live_ = 0;
        json_set_allocator(&Allocate, &Free);
    }
    ~CountingAllocator() { json_set_allocator(nullptr, nullptr); }
    CountingAllocator(const CountingAllocator&) = delete;
    CountingAllocator& operator=(const CountingAllocator&) = delete;

    static long count() { return count_; }
    static long live() { return live_; }

private:
    static void* Allocate(size_t size) {
        if (count_++ == failAt_) {
            return nullptr;
        }
        ++live_;
        return std::malloc(size);
    }
    static void Free(void* block) {
        --live_;
        std::free(block);
    }

    static inline std::atomic<long> failAt_{-1};
    static inline std::atomic<long> count_{0};
    static inline std::atomic<long> live_{0};
};

// Runs `attempt` (true when it succeeded) with allocation 0, 1, 2, ... failing until it
// succeeds; each failed attempt must leave nothing allocated. Returns the number of the first
// allocation that was not failed: all a successful attempt needs when each got its turn.
template <class Attempt>
long FailEachAllocationInTurn(Attempt&& attempt) {
    for (long failAt = 0;; ++failAt) {
        CountingAllocator allocator(failAt);
        if (attempt()) {
            return failAt;
        }
        EXPECT_EQ(CountingAllocator::live(), 0) << "allocation " << failAt;
    }
}

}  // namespace meru::testing
