// The process-wide table through which OS callbacks reach their worker by number, so a callback
// that fires while its worker is being destroyed finds nothing instead of freed memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "core/thread_pool.h"

namespace win32 {

// What the registry knows about one started worker; shared with its OS timer's closer. Which
// callback a thread is running is kept per thread by the timer, not here: two expiries of one
// timer can overlap (the next starts while the last is finishing), so one field would not do.
struct tpp_pooler {
    explicit tpp_pooler(std::weak_ptr<tpp_worker> owner) : worker(std::move(owner)) {}

    const std::weak_ptr<tpp_worker> worker;
};

class tpp_registry {
public:
    // How many workers can be started at once; the plug-in never has more than one.
    static constexpr std::size_t kSlots = 600;

    static tpp_registry& instance();

    // The new worker's id, or 0 when every slot is taken.
    std::uint32_t add(std::shared_ptr<tpp_pooler> pooler);
    void remove(std::uint32_t id);
    // The pooler registered under `id`, or empty.
    std::shared_ptr<tpp_pooler> find(std::uint32_t id);
    // How many ids are registered now.
    std::size_t size();

private:
    tpp_registry() = default;

    std::mutex mutex_;
    std::uint32_t counter_ = 0;
    // 0 marks a free slot; allocated at the first registration.
    std::vector<std::uint32_t> slots_;
    std::map<std::uint32_t, std::shared_ptr<tpp_pooler>> poolers_;
};

}  // namespace win32
