// The id registry of started workers.
#include "core/internal/thread_pool_registry.h"

#include <algorithm>

namespace win32 {

tpp_registry& tpp_registry::instance() {
    // Never destroyed: pool threads may still look ids up while statics are torn down at exit.
    static tpp_registry* const registry = new tpp_registry;
    return *registry;
}

std::uint32_t tpp_registry::add(std::shared_ptr<tpp_pooler> pooler) {
    std::lock_guard lock(mutex_);
    if (slots_.empty()) {
        slots_.assign(kSlots, 0);
    }
    const auto free_slot = std::find(slots_.begin(), slots_.end(), 0u);
    if (free_slot == slots_.end()) {
        return 0;
    }
    // 0 means "no id" everywhere, so a wrapped counter skips it.
    if (++counter_ == 0) {
        ++counter_;
    }
    *free_slot = counter_;
    poolers_[counter_] = std::move(pooler);
    return counter_;
}

void tpp_registry::remove(std::uint32_t id) {
    std::lock_guard lock(mutex_);
    if (poolers_.erase(id) != 0) {
        std::replace(slots_.begin(), slots_.end(), id, 0u);
    }
}

std::shared_ptr<tpp_pooler> tpp_registry::find(std::uint32_t id) {
    std::lock_guard lock(mutex_);
    const auto entry = poolers_.find(id);
    return entry == poolers_.end() ? nullptr : entry->second;
}

std::size_t tpp_registry::size() {
    std::lock_guard lock(mutex_);
    return poolers_.size();
}

}  // namespace win32
