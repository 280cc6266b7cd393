// The function object a request task calls with its outcome. Unlike std::function it keeps any
// callable of up to four pointers that moves without throwing inside itself: a callback that
// holds the instance weakly (two pointers, but not trivially copyable, which is what
// std::function's own storage asks for) would otherwise cost an allocation per request.
#pragma once

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

namespace Meru {

template <class... Args>
class TaskCallback {
public:
    TaskCallback() noexcept = default;
    TaskCallback(std::nullptr_t) noexcept {}
    // An empty callable (a null function pointer, an empty std::function) gives an empty one.
    template <class F>
    requires(!std::is_same_v<std::decay_t<F>, TaskCallback> &&
             std::is_invocable_v<std::decay_t<F>&, Args...>) TaskCallback(F&& callable) {
        using Stored = std::decay_t<F>;
        if constexpr (std::is_constructible_v<bool, const Stored&>) {
            if (!static_cast<bool>(callable)) {
                return;
            }
        }
        if constexpr (kFitsInside<Stored>) {
            ::new (static_cast<void*>(storage_)) Stored(std::forward<F>(callable));
            ops_ = &kInsideOps<Stored>;
        } else {
            *reinterpret_cast<Stored**>(storage_) = new Stored(std::forward<F>(callable));
            ops_ = &kOutsideOps<Stored>;
        }
    }
    TaskCallback(TaskCallback&& other) noexcept { take(other); }
    TaskCallback& operator=(TaskCallback&& other) noexcept {
        if (this != &other) {
            reset();
            take(other);
        }
        return *this;
    }
    TaskCallback& operator=(std::nullptr_t) noexcept {
        reset();
        return *this;
    }
    TaskCallback(const TaskCallback&) = delete;
    TaskCallback& operator=(const TaskCallback&) = delete;
    ~TaskCallback() { reset(); }

    explicit operator bool() const noexcept { return ops_ != nullptr; }
    void operator()(Args... args) const { ops_->invoke(storage_, std::forward<Args>(args)...); }

private:
    static constexpr std::size_t kSize = 4 * sizeof(void*);

    template <class Stored>
    static constexpr bool kFitsInside = sizeof(Stored) <= kSize &&
                                        alignof(Stored) <= alignof(std::max_align_t) &&
                                        std::is_nothrow_move_constructible_v<Stored>;

    struct Ops {
        void (*invoke)(void* storage, Args&&... args);
        // Moves the callable from one storage into the other, leaving the first with nothing.
        void (*move)(void* from, void* to) noexcept;
        void (*destroy)(void* storage) noexcept;
    };

    template <class Stored>
    static constexpr Ops kInsideOps = {
        [](void* storage, Args&&... args) {
            (*std::launder(static_cast<Stored*>(storage)))(std::forward<Args>(args)...);
        },
        [](void* from, void* to) noexcept {
            Stored* source = std::launder(static_cast<Stored*>(from));
            ::new (to) Stored(std::move(*source));
            source->~Stored();
        },
        [](void* storage) noexcept { std::launder(static_cast<Stored*>(storage))->~Stored(); },
    };

    template <class Stored>
    static constexpr Ops kOutsideOps = {
        [](void* storage, Args&&... args) {
            (**static_cast<Stored**>(storage))(std::forward<Args>(args)...);
        },
        [](void* from, void* to) noexcept {
            *static_cast<Stored**>(to) = *static_cast<Stored**>(from);
        },
        [](void* storage) noexcept { delete *static_cast<Stored**>(storage); },
    };

    void take(TaskCallback& other) noexcept {
        if (other.ops_ != nullptr) {
            other.ops_->move(other.storage_, storage_);
            ops_ = std::exchange(other.ops_, nullptr);
        }
    }
    void reset() noexcept {
        if (ops_ != nullptr) {
            std::exchange(ops_, nullptr)->destroy(storage_);
        }
    }

    alignas(std::max_align_t) mutable unsigned char storage_[kSize];
    const Ops* ops_ = nullptr;
};

}  // namespace Meru
