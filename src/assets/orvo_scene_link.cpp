#include "assets/orvo_scene_link.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string_view>

namespace zelFramework {

namespace {

// A chain of parents deeper than this cannot come from a real scene, and drawing it would exhaust the
// stack.
constexpr size_t MAX_TREE_DEPTH = 4096;

bool fail(std::string* problem, std::string text) {
    if (problem) *problem = std::move(text);
    return false;
}

}  // namespace

bool checkSceneObject(const SceneObject& o, std::string* problem) {
    const uint64_t v = o.vertexCount;
    const uint64_t blocks = std::max<uint64_t>(1, o.frameCount());
    const std::string who = "object \"" + o.name + "\"";
    if (o.positions.size() != 3 * v && o.positions.size() != 3 * v * blocks)
        return fail(problem, who + ": position list does not match its vertex count");
    if (o.normals.size() != o.positions.size())
        return fail(problem, who + ": normal list does not match its position list");
    if (o.texCoords.size() != 2 * v) return fail(problem, who + ": texture coordinates do not match its vertex count");
    if (o.frameCount() > 1 && o.changeCounts.size() != o.frameCount() - 1)
        return fail(problem, who + ": change counts do not match its frame count");
    const uint64_t m = o.changeIndices.size();
    if (o.changePositions.size() != 3 * m || o.changeNormals.size() != 3 * m)
        return fail(problem, who + ": change lists differ in length");
    if (v > 0) {
        for (uint32_t index : o.indices)
            if (index >= v) return fail(problem, who + ": triangle index " + std::to_string(index) + " beyond its " +
                                                     std::to_string(v) + " vertices");
    }
    return true;
}

bool expandVertexAnimation(SceneObject& o, std::string* problem) {
    const uint32_t frames = o.frameCount();
    if (frames < 2) return true;
    const std::string who = "object \"" + o.name + "\"";
    const uint64_t v = o.vertexCount;
    const size_t block = size_t(3 * v);
    if (o.positions.size() != block || o.normals.size() != block)
        return fail(problem, who + ": vertex animation already expanded");

    uint64_t used = 0;
    for (uint32_t c : o.changeCounts) used += c;
    if (used > o.changeIndices.size())
        return fail(problem, who + ": vertex animation uses " + std::to_string(used) + " changes but stores " +
                                 std::to_string(o.changeIndices.size()));
    if (v > 0 && frames > MAX_EXPANDED_ANIMATION_BYTES / (v * 24))
        return fail(problem, who + ": vertex animation too large to expand");

    o.positions.resize(block * frames);
    o.normals.resize(block * frames);
    size_t k = 0;
    for (uint32_t f = 1; f < frames; ++f) {
        float* pos = o.positions.data() + block * f;
        float* nrm = o.normals.data() + block * f;
        if (block > 0) {  // a mesh without vertices has nothing to copy (and no array to copy from)
            std::memcpy(pos, pos - block, block * sizeof(float));
            std::memcpy(nrm, nrm - block, block * sizeof(float));
        }
        for (uint32_t c = 0; c < o.changeCounts[f - 1]; ++c, ++k) {
            uint32_t vertex = o.changeIndices[k];
            if (vertex >= v)
                return fail(problem, who + ": vertex animation changes vertex " + std::to_string(vertex) + " of " +
                                         std::to_string(v));
            std::memcpy(pos + 3 * size_t(vertex), &o.changePositions[3 * k], 3 * sizeof(float));
            std::memcpy(nrm + 3 * size_t(vertex), &o.changeNormals[3 * k], 3 * sizeof(float));
        }
    }
    return true;
}

bool linkSceneTree(OrvoScene& scene, std::string* problem) {
    std::multimap<std::string_view, size_t> byName;
    for (size_t i = 0; i < scene.objects.size(); ++i) {
        scene.objects[i].children.clear();
        byName.emplace(scene.objects[i].name, i);
    }
    // Walking children in file order keeps each parent's list in file order.
    for (size_t j = 0; j < scene.objects.size(); ++j) {
        auto [first, last] = byName.equal_range(scene.objects[j].parentName);
        for (auto it = first; it != last; ++it)
            if (it->second != j) scene.objects[it->second].children.push_back(&scene.objects[j]);
    }
    if (scene.objects.empty()) return true;

    // Depth-first walk from the root: an object met again while it is still open is its own ancestor.
    enum : uint8_t { UNSEEN, OPEN, DONE };
    std::vector<uint8_t> state(scene.objects.size(), UNSEEN);
    struct Frame {
        size_t object;
        size_t nextChild;
    };
    std::vector<Frame> stack{{0, 0}};
    state[0] = OPEN;
    while (!stack.empty()) {
        Frame& top = stack.back();
        SceneObject& o = scene.objects[top.object];
        if (top.nextChild == o.children.size()) {
            state[top.object] = DONE;
            stack.pop_back();
            continue;
        }
        size_t child = size_t(o.children[top.nextChild++] - scene.objects.data());
        if (state[child] == OPEN)
            return fail(problem, "object \"" + scene.objects[child].name + "\" is its own ancestor");
        if (state[child] == DONE) continue;
        if (stack.size() >= MAX_TREE_DEPTH) return fail(problem, "object tree deeper than 4096 levels");
        state[child] = OPEN;
        stack.push_back({child, 0});
    }
    return true;
}

void bindSceneMaterials(OrvoScene& scene) {
    std::map<std::string_view, SceneMaterial*> byName;
    for (SceneMaterial& m : scene.materials) byName[m.name] = &m;  // later ones replace earlier ones
    for (SceneObject& o : scene.objects) {
        auto it = byName.find(o.materialName);
        o.material = it == byName.end() ? nullptr : it->second;
    }
}

bool finishScene(OrvoScene& scene, std::string* problem) {
    bool ok = true;
    for (SceneObject& o : scene.objects) {
        if (!checkSceneObject(o, problem) || !expandVertexAnimation(o, problem)) {
            ok = false;
            break;
        }
    }
    ok = ok && linkSceneTree(scene, problem);
    if (!ok) {
        bool view = scene.setView, projection = scene.setProjection;
        scene = OrvoScene{};
        scene.setView = view;
        scene.setProjection = projection;
        return false;
    }
    bindSceneMaterials(scene);
    return true;
}

}  // namespace zelFramework
