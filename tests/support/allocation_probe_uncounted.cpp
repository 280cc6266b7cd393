// AllocationProbe for builds whose runtime owns operator new: nothing is counted.
#include "support/allocation_probe.h"

namespace test {

AllocationProbe::AllocationProbe() : previous_(nullptr) {}

AllocationProbe::~AllocationProbe() = default;

}  // namespace test
