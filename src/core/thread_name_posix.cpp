#include <pthread.h>

#include "core/thread_name.h"

namespace core {

void name_this_thread(const char* name) noexcept {
    // Fails only for a name longer than the system keeps, which ours never are.
    static_cast<void>(::pthread_setname_np(::pthread_self(), name));
}

}  // namespace core
