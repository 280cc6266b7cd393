// The worker base: its callback list and its own reference count.
#include <exception>

#include "core/boundary.h"
#include "core/thread_pool.h"

namespace win32 {
namespace {

class invalid_reference_count : public std::exception {
public:
    const char* what() const noexcept override { return "invalid reference count"; }
};

}  // namespace

// Each worker starts with one reference and gets exactly one shared-pointer control block
// (create_timer makes it), which calls this once; so the throw in release() is reachable only
// through a second release of the same worker, a fault of ours. Even then it cannot unwind into
// a pool thread or the host: every call comes from a shared pointer's noexcept destructor, where
// the exception ends the process on the spot (std::terminate) instead of crossing those frames.
void release_worker(tpp_worker* worker) {
    if (worker->release() == 0) {
        delete worker;
    }
}

tpp_worker::~tpp_worker() = default;

void tpp_worker::on_callback(core::error_e code) {
    call_callbacks(code);
}

void tpp_worker::close() {}

void tpp_worker::connect(tpp_callback callback, std::int32_t group) {
    append(std::move(callback), group, false);
}

void tpp_worker::connect_once(tpp_callback callback, std::int32_t group) {
    append(std::move(callback), group, true);
}

void tpp_worker::append(tpp_callback callback, std::int32_t group, bool once) {
    std::lock_guard lock(callbacks_mutex_);
    callbacks_.push_back(slot{std::move(callback), false, group, once});
}

void tpp_worker::call_callbacks(core::error_e code) {
    std::lock_guard lock(callbacks_mutex_);
    // Slots that a callback connects during this run wait for the next run.
    auto remaining = callbacks_.size();
    for (auto it = callbacks_.begin(); remaining > 0; ++it, --remaining) {
        if (it->disconnected) {
            continue;
        }
        it->disconnected = it->once;
        // One failing callback must neither stop the others nor a periodic timer.
        core::at_boundary(L"tpp_worker::call_callbacks", [&] { it->callback(code); });
    }
    callbacks_.remove_if([](const slot& s) { return s.disconnected; });
}

std::uint32_t tpp_worker::release() {
    std::uint32_t current = references_.load();
    do {
        if (current == 0) {
            throw invalid_reference_count();
        }
    } while (!references_.compare_exchange_weak(current, current - 1));
    return current - 1;
}

}  // namespace win32
