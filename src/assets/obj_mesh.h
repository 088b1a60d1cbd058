// A model frame as flat, non-indexed per-vertex arrays: vertices 3t, 3t + 1, 3t + 2 form triangle t.
#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace zelFramework {

// Leaves new elements uninitialised when an array grows, so that a cache read fills fresh arrays
// straight from the file instead of first writing zeros over them. Values given explicitly
// (assign, push_back, initialiser lists) are stored as usual.
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

using FloatArray = std::vector<float, UninitialisedAllocator<float>>;

struct ObjMesh {
    uint32_t vertexCount = 0;  // N = 3 x number of triangles
    FloatArray positions;      // 3 per vertex
    FloatArray texCoords;      // 2 per vertex (zero where the file gave none)
    FloatArray normals;        // 3 per vertex
};

}  // namespace zelFramework
