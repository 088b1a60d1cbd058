// An allocator for large arrays that their reader fills at once.
#pragma once

#include <memory>
#include <new>
#include <type_traits>
#include <utility>

namespace zelFramework {

// Leaves new elements uninitialised when an array grows (resize, or a vector made with a count), so
// that a reader can fill fresh arrays straight from its source instead of first writing zeros over
// them: a model cache read from its file, a picture from its decoder. Whoever grows such an array
// writes every new element before it is read. Values given explicitly (assign, push_back,
// initialiser lists) are stored as usual.
template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    UninitialisedAllocator() = default;
    template <typename U>
    UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}

    template <typename U>
    void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

}  // namespace zelFramework
