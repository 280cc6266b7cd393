// Replaces the global operator new/delete of the test binary to feed AllocationProbe.
#include "support/allocation_probe.h"

#include <cstdlib>
#include <new>

namespace test {
namespace {

thread_local AllocationProbe* activeProbe = nullptr;

void* Allocate(std::size_t bytes) {
    if (activeProbe != nullptr) {
        activeProbe->record(bytes);
    }
    if (void* block = std::malloc(bytes == 0 ? 1 : bytes)) {
        return block;
    }
    throw std::bad_alloc();
}

}  // namespace

AllocationProbe::AllocationProbe() : previous_(activeProbe) {
    activeProbe = this;
}

AllocationProbe::~AllocationProbe() {
    activeProbe = previous_;
}

}  // namespace test

void* operator new(std::size_t bytes) {
    return test::Allocate(bytes);
}
void* operator new[](std::size_t bytes) {
    return test::Allocate(bytes);
}
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
    try {
        return test::Allocate(bytes);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t bytes, const std::nothrow_t& tag) noexcept {
    return operator new(bytes, tag);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
