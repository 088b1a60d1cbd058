// Building a renderer: settings, shaders with their fixed sampler and size uniforms, and the shared
// render targets, found by name in the texture registry or made and published there.
#include "renderengine/renderer.h"

#include "app/screen_metrics.h"
#include "app/trace.h"
#include "gl/fbo_texture.h"
#include "gl/texture_manager.h"

#include <cstdio>

namespace RenderEngine {

using zelFramework::GL_FBOTexture;
using zelFramework::GL_Shader;
using zelFramework::GL_Texture;
using zelFramework::GL_TextureManager;

namespace {

const char* const TAG = "renderEngine";

void setInt(const GL_Shader& shader, const char* name, int value) {
    glUniform1i(shader.uniformLocation(name), value);
}

void setFloat(const GL_Shader& shader, const char* name, float value) {
    glUniform1f(shader.uniformLocation(name), value);
}

void setVec2(const GL_Shader& shader, const char* name, float x, float y) {
    glUniform2f(shader.uniformLocation(name), x, y);
}

// Loads a program and runs `setUp` with it in use.
template <typename SetUp>
void loadProgram(GL_Shader& shader, const char* name, const char* vertexFile, const char* fragmentFile,
                 const char* prefix, SetUp setUp) {
    shader.loadFromFiles(name, vertexFile, fragmentFile, prefix);
    glUseProgram(shader.programId);
    setUp(shader);
    glUseProgram(0);
}

void loadProgram(GL_Shader& shader, const char* name, const char* vertexFile, const char* fragmentFile,
                 const char* prefix = nullptr) {
    shader.loadFromFiles(name, vertexFile, fragmentFile, prefix);
}

struct TargetSpec {
    uint32_t attachments = 1;
    int bits = 8;
    RenderSize size;
    bool depth = false;
    bool cube = false;
};

// The target registered under `name`, or a new one made from `spec` and published under it. A name
// that is already taken is reused whatever its size: all renderers draw through the same targets.
GL_FBOTexture* sharedTarget(const char* name, const TargetSpec& spec) {
    GL_Texture* existing = GL_TextureManager::getTexture(name, GL_REPEAT, GL_REPEAT);
    if (existing) {
        if (auto* target = dynamic_cast<GL_FBOTexture*>(existing))
            return target;
        // A picture file of that name took the slot; draw into a private target rather than into it.
        zelFramework::trace(zelFramework::TRACE_WARNING, TAG, "\"%s\" is a picture, not a render target; using a private one", name);
    }
    auto* target = new GL_FBOTexture();
    if (spec.cube)
        target->createCubeMap(spec.size.width, spec.size.height);
    else
        target->create(spec.attachments, spec.bits, spec.size.width, spec.size.height, GL_RGBA, spec.depth);
    if (!existing)
        GL_TextureManager::addTexture(name, target);
    return target;
}

}  // namespace

Renderer::Renderer(zelFramework::GL_TextureManager* manager, GL_Texture* reflection, float resolutionScale,
                   uint32_t featureMask)
    : textureManager(manager), reflectionTexture(reflection) {
    uint32_t dropped = 0;
    features = consistentFeatures(featureMask, &dropped);
    if (dropped)
        zelFramework::trace(zelFramework::TRACE_WARNING, TAG,
              "cube mode cannot be combined with depth of field, glow or depth-of-field layers: features 0x%x dropped",
              dropped);

    flareTexture = GL_TextureManager::getTexture("flash.jpg", GL_REPEAT, GL_REPEAT);
    size = renderSizeFor(zelFramework::screenWidth, zelFramework::renderHeight, resolutionScale, features);
    loadShaders(resolutionScale);
    createTargets(resolutionScale);
}

void Renderer::loadShaders(float resolutionScale) {
    const std::string prefix = shaderPrefixFor(features);
    const float width = float(size.width);
    const float height = float(size.height);
    const bool reflection = features & RE_REFLECTION;

    loadProgram(prepareShader, "prepDef", "prepareDeferredShaderVert.h", "prepareDeferredShaderFrag.h", prefix.c_str(),
                [reflection](GL_Shader& s) {
                    setInt(s, "matCap", 0);
                    setInt(s, "diffuse", 1);
                    if (reflection)
                        setInt(s, "reflectionMap", 2);
                });
    loadProgram(executeShader, "execDef", "executeDeferredShaderVert.h", "executeDeferredShaderFrag.h", prefix.c_str());
    loadProgram(fxaaShader, "fxaa", "fxaaShaderVert.h", "fxaaShaderFrag.h", nullptr, [&](GL_Shader& s) {
        setFloat(s, "w", width);
        setFloat(s, "h", height);
    });

    if (features & RE_SSAO) {
        noiseTexture = GL_TextureManager::getTexture("noise.png", GL_REPEAT, GL_REPEAT);
        loadProgram(ssaoShader, "ssao", "ssaoShaderVert.h", "ssaoShaderFrag.h", nullptr, [](GL_Shader& s) {
            setInt(s, "normalMap", 0);
            setInt(s, "rnm", 1);
        });
        loadProgram(aoBlurShader, "aoblur", "bilateralBlurShaderVert.h", "bilateralBlurShaderFrag.h", nullptr,
                    [&](GL_Shader& s) {
                        setVec2(s, "texelSize", 1.0f / (width / resolutionScale), 1.0f / (height / resolutionScale));
                        setInt(s, "colorBuffer", 0);
                        setInt(s, "gBuffer", 1);
                    });
    }
    if (features & RE_CUBEMAP)
        loadProgram(cubeToEquirectShader, "cter", "forwardVert.h", "cubeToERFrag.h", nullptr,
                    [](GL_Shader& s) { setInt(s, "img", 0); });
    if (features & RE_DOF_LAYERS)
        loadProgram(combineShader, "combine", "forwardVert.h", "combineLayers.h", nullptr, [](GL_Shader& s) {
            setInt(s, "imageA", 0);
            setInt(s, "imageB", 1);
        });
    if (features & RE_DOF)
        loadProgram(dofShader, "singledof", "forwardVert.h", "singleDof.h", nullptr, [&](GL_Shader& s) {
            setVec2(s, "invTexSize", 1.0f / width, 1.0f / height);
            setInt(s, "image", 1);
            setInt(s, "depth", 0);
            setInt(s, "focusMap", 2);
        });
    if (features & RE_DOF)
        loadProgram(dofFocusShader, "doffocus", "forwardVert.h", "singleDof.h", "#define FOCUS_ONLY\n",
                    [](GL_Shader& s) { setInt(s, "depth", 0); });
    if (features & RE_GLOW) {
        loadProgram(glowShader, "glow", "forwardVert.h", "bilateralGlowShaderFrag.h", nullptr, [&](GL_Shader& s) {
            setVec2(s, "texelSize", 1.0f / width, 1.0f / height);
            setInt(s, "colorBuffer", 0);
        });
        loadProgram(combineGlowShader, "combineglow", "forwardVert.h", "combineGlowFrag.h", nullptr,
                    [](GL_Shader& s) {
                        setInt(s, "color", 0);
                        setInt(s, "glow", 1);
                    });
    }

    glUseProgram(executeShader.programId);
    setInt(executeShader, "colorImage", 0);
    setInt(executeShader, "ambientOcclusion", 1);
    glUseProgram(0);
}

void Renderer::createTargets(float resolutionScale) {
    const RenderSize full = size;
    const RenderSize half{size.width / 2, size.height / 2};

    deferredTarget = sharedTarget("RE:fboDeferred", {2, 16, full, true});
    tempTarget1 = sharedTarget("RE:tempFbo1", {1, 16, full, false});
    tempTarget2 = sharedTarget("RE:tempFbo2", {1, 16, full, false});
    if (features & RE_SSAO) {
        aoTarget = sharedTarget("RE:fboAO", {1, 8, occlusionTargetSize(size, resolutionScale), false});
        aoBlurTarget1 = sharedTarget("RE:fboAO1", {1, 8, half, false});
        aoBlurTarget2 = sharedTarget("RE:fboAO2", {1, 8, half, false});
    }
    if (features & RE_CUBEMAP)
        cubeMapTarget = sharedTarget("RE:cubeMap", {1, 16, full, false, true});
    if (features & RE_MOTION_BLUR) {
        for (int i = 0; i < MOTION_BLUR_HISTORY; ++i) {
            char name[32];
            std::snprintf(name, sizeof(name), "RE:MoBlur%d", i);
            motionBlurTargets[i] = sharedTarget(name, {1, 8, motionBlurTargetSize(size, i), false});
        }
    }
    if (features & RE_DOF_LAYERS) {
        dofLayerTargets[0] = sharedTarget("RE:DOF1", {1, 8, full, false});
        dofLayerTargets[1] = sharedTarget("RE:DOF2", {1, 8, full, false});
    }
    sceneryTarget = sharedTarget("RE:sceneryFBO", {1, 16, full, false});
    if (features & RE_DOF)
        focusTarget = sharedTarget("RE:dofFocus", {1, 16, {1, 1}, false});
}

}  // namespace RenderEngine
