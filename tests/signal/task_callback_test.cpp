// A task's callback keeps small callables inside itself and everything it holds is destroyed
// exactly once, whether it was called, moved, reset or never set.
#include "signal/task_callback.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>

#include "support/allocation_probe.h"

namespace Meru {
namespace {

using Callback = TaskCallback<int, int*>;

TEST(TaskCallback, HoldsWhatItIsGivenUntilResetAndDestroysItOnce) {
    const auto witness = std::make_shared<int>(0);
    const std::weak_ptr<int> weak = witness;
    const std::array<char, 64> padding{};
    const auto small = [weak](int value, int* out) {
        if (const auto held = weak.lock()) {
            *out = value + *held;
        }
    };
    const auto large = [witness, padding](int value, int* out) {
        *out = value + padding[0] + *witness;
    };
    for (const bool big : {false, true}) {
        const long before = witness.use_count();
        std::size_t allocated = 0;
        {
            test::AllocationProbe probe;
            Callback first = big ? Callback(large) : Callback(small);
            allocated = probe.totalBytes();
            Callback second = std::move(first);
            EXPECT_FALSE(first);
            Callback third;
            third = std::move(second);
            *witness = 5;
            int out = 0;
            third(2, &out);
            EXPECT_EQ(out, 7) << big;
            third = nullptr;
            EXPECT_FALSE(third);
            EXPECT_EQ(witness.use_count(), before) << big;
        }
        EXPECT_EQ(witness.use_count(), before) << big;
        // A weak reference fits inside; 64 bytes of capture do not (the sanitizer build that
        // owns operator new counts nothing).
        if (!big) {
            EXPECT_EQ(allocated, 0u);
        }
    }
}

TEST(TaskCallback, EmptyCallablesGiveAnEmptyCallback) {
    void (*none)(int, int*) = nullptr;
    EXPECT_FALSE(Callback(none));
    EXPECT_FALSE(Callback(std::function<void(int, int*)>()));
    EXPECT_FALSE(Callback(nullptr));
    EXPECT_TRUE(Callback(std::function<void(int, int*)>([](int, int*) {})));
    EXPECT_TRUE(Callback([](int, int*) {}));
}

}  // namespace
}  // namespace Meru
