// Feeds AllocationProbe from the binary's counted operator new.
#include "support/allocation_probe.h"

#include "support/counted_operator_new.h"

namespace test {
namespace {

thread_local AllocationProbe* activeProbe = nullptr;

}  // namespace

void CountAllocation(std::size_t bytes) {
    if (activeProbe != nullptr) {
        activeProbe->record(bytes);
    }
}

AllocationProbe::AllocationProbe() : previous_(activeProbe) {
    activeProbe = this;
}

AllocationProbe::~AllocationProbe() {
    activeProbe = previous_;
}

}  // namespace test
