// An indexed triangle mesh with one normal and one texture coordinate per vertex, and the shape
// builders every set is made of. Texture coordinates of diffuse maps stay inside 0..1, because the
// scene drawing clamps diffuse pictures to their edges.
#pragma once

#include <cstdint>
#include <vector>

#include "geometry.h"

namespace zelFramework::scenegen {

struct Mesh {
    std::vector<Vec3> positions;
    std::vector<Vec3> normals;
    std::vector<Vec2> uvs;
    std::vector<uint32_t> indices;

    uint32_t addVertex(Vec3 p, Vec3 n, Vec2 uv);
    void addTriangle(uint32_t a, uint32_t b, uint32_t c);
    // A flat quad a-b-c-d (counter-clockwise seen from the front) with its own four vertices.
    // Texture v runs down the picture (v = 0 is the picture's top row, as the files store it), so the
    // default maps the picture upright onto a quad whose a-b edge is its bottom.
    void addQuad(Vec3 a, Vec3 b, Vec3 c, Vec3 d, Vec2 uvA = {0, 1}, Vec2 uvB = {1, 1}, Vec2 uvC = {1, 0},
                 Vec2 uvD = {0, 0});
    // Appends another mesh moved by a transform.
    void append(const Mesh& other, const Mat4& transform = Mat4{});
    size_t triangleCount() const { return indices.size() / 3; }
    size_t vertexCount() const { return positions.size(); }
};

// Axis-aligned box around `centre`; each face maps the whole picture.
Mesh makeBox(Vec3 centre, Vec3 size);
// Box between two corner points (any order).
Mesh makeBoxBetween(Vec3 a, Vec3 b);
// Upright cylinder (axis +y) from y0 to y1; u runs once round, v up the side. Caps optional.
Mesh makeCylinder(float radius, float y0, float y1, int segments, bool caps);
// A solid of revolution about +y through the profile points (radius, height), bottom to top.
// u runs round (uStart..uEnd of a full turn given by angle0..angle1 in degrees), v along the profile.
Mesh makeLathe(const std::vector<Vec2>& profile, int segments, float angle0 = 0, float angle1 = 360,
               bool smoothProfile = true);
// Ellipsoid of the given half-axes with a latitude/longitude grid.
Mesh makeEllipsoid(Vec3 radii, int segments, int rings);
// A tube of radius r along a polyline (for rails, cables, lattice struts).
Mesh makeTube(const std::vector<Vec3>& path, float radius, int sides);
// A flat grid in the xz plane facing +y, size x size, divided into n x m cells, uv 0..1 over it.
Mesh makeGrid(Vec3 centre, float sizeX, float sizeZ, int cellsX, int cellsZ);

// A closed outline in the plane (see triangulate.h; holes follow from nesting, any winding).
using Contour = std::vector<Vec2>;
// Front and back caps (ear-clipped, holes by nesting) and side walls: the face lies in the xy
// plane at z = depth / 2 facing +z, the back at -depth / 2. uv of the caps spans the outline's box.
Mesh makeExtrusion(const std::vector<Contour>& contours, float depth);
// Only the flat tessellated face at z = 0, facing +z.
Mesh makeFlatShape(const std::vector<Contour>& contours);

}  // namespace zelFramework::scenegen
