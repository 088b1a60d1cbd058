#include "assets/scene_draw.h"

#include <cstring>

#include "assets/scene_key_math.h"
#include "gl/binned_work.h"
#include "gl/texture.h"

namespace zelFramework {

namespace {

// Anything from this transparency up belongs to a later, blended pass.
constexpr float OPAQUE_TRANSPARENCY_LIMIT = 0.00001f;

bool sendsUniforms(GLuint program) { return program != NO_SCENE_PROGRAM && program != 0; }

// Uniforms are looked up on every use and quietly skipped when the program lacks them.
void sendMaterial(GLuint program, const SceneMaterial& m) {
    glUniform1f(glGetUniformLocation(program, "glowIntensity"), m.glowIntensity);
    glUniform1f(glGetUniformLocation(program, "reflectionIntensity"), m.reflectionIntensity);
    glUniform1f(glGetUniformLocation(program, "specularShininess"), (1.0f - m.roughness) * 80.0f);
    glUniform3f(glGetUniformLocation(program, "specularColor"), m.specularColor.x, m.specularColor.y,
                m.specularColor.z);
}

// Moves the working copies to the block the animation shows now.
void followAnimation(SceneObject& o, uint32_t frame) {
    SceneMeshBuffers& b = *o.buffers;
    if (frame == b.currentFrame || frame >= o.blockCount()) return;
    const size_t n = 3ull * o.vertexCount;
    std::memcpy(b.workingPositions.data(), o.positions.data() + n * frame, n * sizeof(float));
    std::memcpy(b.workingNormals.data(), o.normals.data() + n * frame, n * sizeof(float));
    b.currentFrame = frame;
}

void drawFromBuffers(const unsigned int set[4], GLsizei indexCount) {
    glBindBuffer(GL_ARRAY_BUFFER, set[SceneMeshBuffers::POSITIONS]);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, set[SceneMeshBuffers::NORMALS]);
    glNormalPointer(GL_FLOAT, 0, nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, set[SceneMeshBuffers::TEXCOORDS]);
    glTexCoordPointer(2, GL_FLOAT, 0, nullptr);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, set[SceneMeshBuffers::INDICES]);
    glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_INT, nullptr);
}

void drawFromWorkingCopies(const SceneObject& o) {
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glVertexPointer(3, GL_FLOAT, 0, o.buffers->workingPositions.data());
    glNormalPointer(GL_FLOAT, 0, o.buffers->workingNormals.data());
    glTexCoordPointer(2, GL_FLOAT, 0, o.texCoords.data());
    glDrawElements(GL_TRIANGLES, GLsizei(o.indexCount()), GL_UNSIGNED_INT, o.indices.data());
}

}  // namespace

void drawScene(OrvoScene& scene, GLuint program, bool cameraAlreadySet, float time, SphereInViewTest inView) {
    if (!cameraAlreadySet) applySceneCamera(scene, time);
    // The program lights in world space through the camera's view matrix. Only when this scene set
    // the camera is the current matrix that view; a caller that set the camera has sent its view
    // already, and its matrix now also holds the object's own placement and scale (the tunnel's
    // logo: moved and doubled), which would light the object in its own model space, with normals
    // twice as long: highlights beyond their bounds that came out as black and white dots.
    if (!cameraAlreadySet && sendsUniforms(program)) {
        GLfloat view[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, view);
        glUniformMatrix4fv(glGetUniformLocation(program, "viewMatrix"), 1, GL_FALSE, view);
    }
    glPushMatrix();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    if (!scene.objects.empty()) drawSceneObject(scene.objects[0], program, time, inView);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glPopMatrix();
}

void drawSceneObject(SceneObject& o, GLuint program, float time, SphereInViewTest inView) {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    bool drawThis = true, drawChildren = true;
    SceneMeshSource source = SceneMeshSource::StaticFirstFrame;
    const float s = 24.0f * time;

    if (!o.keys.empty()) {
        const SceneKeyPose pose = evaluateSceneKeys(o.keys, s);
        drawThis = drawChildren = pose.visible;
        if (o.frameCount() >= 2 && o.buffers) {
            const VertexAnimationStep step = vertexAnimationAt(o.frameTimes, s);
            source = step.source;
            if (source == SceneMeshSource::Working) followAnimation(o, step.frame);
        }
        float matrix[16];
        sceneKeyMatrix(pose, matrix);
        glMultMatrixf(matrix);
    }

    // The opaque pass: no transparency and a three-channel diffuse picture. Objects that are not
    // prepared (no vertices or no indices) have nothing to draw.
    static const SceneMaterial defaultMaterial;
    const SceneMaterial& material = o.material ? *o.material : defaultMaterial;
    if (drawThis && o.vertexCount > 0) {
        if (!o.buffers || material.transparency >= OPAQUE_TRANSPARENCY_LIMIT ||
            !o.buffers->diffuseTexture || o.buffers->diffuseTexture->format != GL_RGB)
            drawThis = false;
    }
    // Wholly outside the view, the object would rasterise nothing: its vertices need not be run.
    if (drawThis && inView && o.buffers && o.buffers->bounds.known && !inView(o.buffers->bounds.centre, o.buffers->bounds.radius))
        drawThis = false;

    if (drawThis && o.buffers) {
        o.buffers->diffuseTexture->bind(GL_TEXTURE1);
        o.buffers->lightTexture->bind(GL_TEXTURE0);
        if (sendsUniforms(program)) {
            sendMaterial(program, material);
            const GL_Texture& diffuse = *o.buffers->diffuseTexture;
            glUniform2f(glGetUniformLocation(program, "diffuseSize"), float(diffuse.width), float(diffuse.height));
        }
        const GLsizei indexCount = GLsizei(o.buffers->indexCount);
        switch (source) {
            case SceneMeshSource::StaticFirstFrame: drawFromBuffers(o.buffers->sets[0], indexCount); break;
            case SceneMeshSource::StaticLastFrame:
                drawFromBuffers(o.buffers->sets[o.buffers->hasSecondSet ? 1 : 0], indexCount);
                break;
            case SceneMeshSource::Working: drawFromWorkingCopies(o); break;
        }
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
        afterIndexedDraw(source == SceneMeshSource::Working ? o.indexCount() : size_t(indexCount));
    }

    if (drawChildren)
        for (SceneObject* child : o.children) drawSceneObject(*child, program, time, inView);
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

}  // namespace zelFramework
