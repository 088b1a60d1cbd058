#include "assets/scene_draw.h"

#include <cstring>
#include <string>
#include "gl/texture_manager.h"

namespace zelFramework {

namespace {

GLuint makeBuffer(GLenum target, const void* data, size_t bytes) {
    GLuint id = 0;
    glGenBuffers(1, &id);
    glBindBuffer(target, id);
    glBufferData(target, GLsizeiptr(bytes), data, GL_STATIC_DRAW);
    glBindBuffer(target, 0);
    return id;
}

void makeBufferSet(unsigned int set[4], const SceneObject& o, uint32_t block) {
    const size_t v = o.vertexCount;
    set[SceneMeshBuffers::POSITIONS] =
        makeBuffer(GL_ARRAY_BUFFER, o.positions.data() + 3 * v * block, 3 * v * sizeof(float));
    set[SceneMeshBuffers::NORMALS] = makeBuffer(GL_ARRAY_BUFFER, o.normals.data() + 3 * v * block, 3 * v * sizeof(float));
    set[SceneMeshBuffers::TEXCOORDS] = makeBuffer(GL_ARRAY_BUFFER, o.texCoords.data(), 2 * v * sizeof(float));
    set[SceneMeshBuffers::INDICES] =
        makeBuffer(GL_ELEMENT_ARRAY_BUFFER, o.indices.data(), o.indices.size() * sizeof(uint32_t));
}

// Empty names are not asked for: they could only fail. A scene's pictures are seen at every distance
// and angle, mostly smaller than they are, so they get mipmaps: without them a far or slanted surface
// shows a few texels picked at random, its lines breaking up and crawling as the camera moves.
GL_Texture* findTexture(const std::string& name, GLenum wrap) {
    return name.empty() ? nullptr
                        : GL_TextureManager::getTexture(name.c_str(), wrap, wrap, PictureFit{.drawnSmaller = true});
}

void findTextures(SceneMeshBuffers& b, const SceneMaterial* m) {
    b.diffuseTexture = m ? findTexture(m->diffuseMap, GL_CLAMP_TO_EDGE) : nullptr;
    if (!b.diffuseTexture) b.diffuseTexture = GL_TextureManager::getWhiteTexture();
    b.lightTexture = m ? findTexture(m->lightMap, GL_REPEAT) : nullptr;
    if (!b.lightTexture && m && !m->diffuseMap.empty())
        b.lightTexture = findTexture(m->diffuseMap + ".light", GL_CLAMP_TO_EDGE);
    if (!b.lightTexture) b.lightTexture = GL_TextureManager::getWhiteTexture();
}

// A mesh that never changes is drawn from its buffers alone, which the driver holds in memory of its
// own: keeping the arrays as well would hold the mesh twice for the show's whole length (about 9 MB
// for the stadium). The vertex count stays, for whoever describes the object.
void releaseDrawnArrays(SceneObject& o) {
    std::vector<float>().swap(o.positions);
    std::vector<float>().swap(o.normals);
    std::vector<float>().swap(o.texCoords);
    std::vector<uint32_t>().swap(o.indices);
    std::vector<float>().swap(o.buffers->workingPositions);
    std::vector<float>().swap(o.buffers->workingNormals);
}

}  // namespace

void prepareSceneObject(SceneObject& o) {
    // An object under two parents of the same name is reached twice; its buffers are made once.
    if (o.prepared) return;
    o.prepared = true;
    const uint32_t blocks = o.blockCount();
    if (o.vertexCount > 0 && o.indexCount() > 0 && blocks > 0) {
        auto b = std::make_unique<SceneMeshBuffers>();
        makeBufferSet(b->sets[0], o, 0);
        if (o.frameCount() > 0) {
            const size_t n = 3ull * o.vertexCount;
            b->currentFrame = 0;
            b->workingPositions.assign(o.positions.begin(), o.positions.begin() + n);
            b->workingNormals.assign(o.normals.begin(), o.normals.begin() + n);
        }
        if (o.frameCount() > 1) {
            // Shown once the animation has ended, so it holds the frame the animation ends on.
            makeBufferSet(b->sets[1], o, blocks - 1);
            b->hasSecondSet = true;
        }
        b->indexCount = o.indexCount();
        b->bounds = boundsOfPositions(o.positions);
        findTextures(*b, o.material);
        o.buffers = std::move(b);
        if (o.frameCount() < 2) releaseDrawnArrays(o);
    }
    for (SceneObject* child : o.children) prepareSceneObject(*child);
}

}  // namespace zelFramework
