// Building a renderer: settings, shaders with their fixed sampler and size uniforms, and the shared
// render targets, found by name in the texture registry or made and published there.
#include "renderengine/renderer.h"

#include "app/screen_metrics.h"
#include "app/trace.h"
#include "gl/fbo_texture.h"
#include "gl/texture_manager.h"

#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

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

// The programs of renderers built with the same features and picture size are the same files,
// prefix and set-up uniforms; the show has nine renderers of four masks. Each build keeps the
// compiler's work in memory (close to 9 MB for one renderer's set) and costs its time again, so a
// program is built once per shader folder, files, prefix and set-up values, and then shared. What
// a frame needs (matrices, lights, blur settings) every renderer sets before it draws, so sharing
// carries nothing from one renderer's frame into another's.
std::map<std::string, GL_Shader*>& programCache() {
    static auto* cache = new std::map<std::string, GL_Shader*>();  // lives as long as the process
    return *cache;
}

// A build that failed (its ERROR is traced) is not shared: a corrected file gets a fresh try.
std::vector<GL_Shader*>& failedPrograms() {
    static auto* failed = new std::vector<GL_Shader*>();
    return *failed;
}

std::string programKey(const char* vertexFile, const char* fragmentFile, const char* prefix,
                       const std::string& setUpValues) {
    std::error_code error;
    const std::string folder = std::filesystem::current_path(error).string();
    return folder + '\n' + vertexFile + '\n' + fragmentFile + '\n' + (prefix ? prefix : "") + '\n' + setUpValues;
}

// The shared program for these files and set-up values, built and set up (with `setUp`, the program
// in use) on first request.
template <typename SetUp>
GL_Shader* loadProgram(const char* name, const char* vertexFile, const char* fragmentFile, const char* prefix,
                       const std::string& setUpValues, SetUp setUp) {
    const std::string key = programKey(vertexFile, fragmentFile, prefix, setUpValues);
    auto found = programCache().find(key);
    if (found != programCache().end())
        return found->second;
    auto* shader = new GL_Shader();
    shader->loadFromFiles(name, vertexFile, fragmentFile, prefix);
    glUseProgram(shader->programId);
    setUp(*shader);
    glUseProgram(0);
    if (shader->isValid)
        programCache()[key] = shader;
    else
        failedPrograms().push_back(shader);
    return shader;
}

// The set-up values a program's uniforms are given, as part of its sharing key.
std::string valuesKey(std::initializer_list<float> values) {
    std::string key;
    char number[32];
    for (float v : values) {
        std::snprintf(number, sizeof number, "%.9g ", double(v));
        key += number;
    }
    return key;
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

zelFramework::GL_Shader& Renderer::noProgram() {
    static auto* none = new GL_Shader();  // never deleted: no GL call may outlive the context
    return *none;
}

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

    prepareShader = loadProgram("prepDef", "prepareDeferredShaderVert.h", "prepareDeferredShaderFrag.h", prefix.c_str(),
                valuesKey({float(reflection)}), [reflection](GL_Shader& s) {
                    setInt(s, "matCap", 0);
                    setInt(s, "diffuse", 1);
                    if (reflection)
                        setInt(s, "reflectionMap", 2);
                });
    depthOnlyShader = loadProgram("prepDepth", "prepareDeferredShaderVert.h", "prepareDeferredShaderFrag.h",
                                  (prefix + "#define DEPTH_ONLY\n").c_str(), std::string(), [](GL_Shader&) {});
    executeShader = loadProgram("execDef", "executeDeferredShaderVert.h", "executeDeferredShaderFrag.h", prefix.c_str(),
                                std::string(), [](GL_Shader& s) {
                                    setInt(s, "colorImage", 0);
                                    setInt(s, "ambientOcclusion", 1);
                                });
    fxaaShader = loadProgram("fxaa", "fxaaShaderVert.h", "fxaaShaderFrag.h", nullptr, valuesKey({width, height}),
                             [&](GL_Shader& s) {
        setFloat(s, "w", width);
        setFloat(s, "h", height);
    });

    if (features & RE_SSAO) {
        noiseTexture = GL_TextureManager::getTexture("noise.png", GL_REPEAT, GL_REPEAT);
        ssaoShader = loadProgram("ssao", "ssaoShaderVert.h", "ssaoShaderFrag.h", nullptr, std::string(), [](GL_Shader& s) {
            setInt(s, "normalMap", 0);
            setInt(s, "rnm", 1);
        });
        aoBlurShader = loadProgram("aoblur", "bilateralBlurShaderVert.h", "bilateralBlurShaderFrag.h", nullptr,
                    valuesKey({width / resolutionScale, height / resolutionScale}), [&](GL_Shader& s) {
                        setVec2(s, "texelSize", 1.0f / (width / resolutionScale), 1.0f / (height / resolutionScale));
                        setInt(s, "colorBuffer", 0);
                        setInt(s, "gBuffer", 1);
                    });
    }
    if (features & RE_CUBEMAP)
        cubeToEquirectShader = loadProgram("cter", "forwardVert.h", "cubeToERFrag.h", nullptr, std::string(),
                                           [](GL_Shader& s) { setInt(s, "img", 0); });
    if (features & RE_DOF_LAYERS)
        combineShader = loadProgram("combine", "forwardVert.h", "combineLayers.h", nullptr, std::string(), [](GL_Shader& s) {
            setInt(s, "imageA", 0);
            setInt(s, "imageB", 1);
        });
    if (features & RE_DOF) {
        dofShader = dofProgram(0.0f, false);
        dofTileShader = dofProgram(0.0f, true);
        dofFocusShader = loadProgram("doffocus", "forwardVert.h", "singleDof.h", "#define FOCUS_ONLY\n", std::string(),
                                     [](GL_Shader& s) { setInt(s, "depth", 0); });
        dofReachShader = loadProgram("dofreach", "forwardVert.h", "singleDof.h", "#define TILE_REACH\n", std::string(),
                                     [](GL_Shader& s) { setInt(s, "tileBounds", 0); });
    }
    if (features & RE_GLOW) {
        auto setUpGlow = [&](GL_Shader& s) {
            setVec2(s, "texelSize", 1.0f / width, 1.0f / height);
            setInt(s, "colorBuffer", 0);
        };
        glowShader = loadProgram("glow", "forwardVert.h", "bilateralGlowShaderFrag.h", nullptr, valuesKey({width, height}),
                                 setUpGlow);
        glowHalfTexelShader = loadProgram("glowhalf", "forwardVert.h", "bilateralGlowShaderFrag.h",
                                          "#define HALF_TEXEL_TAPS\n", valuesKey({width, height}), setUpGlow);
        combineGlowShader = loadProgram("combineglow", "forwardVert.h", "combineGlowFrag.h", nullptr, std::string(),
                    [](GL_Shader& s) { setInt(s, "glow", 0); });
    }
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
    if (features & RE_DOF) {
        focusTarget = sharedTarget("RE:dofFocus", {1, 16, {1, 1}, false});
        // One texel per tile, read texel by texel.
        const RenderSize tiles = dofTileCount(size);
        dofTileTarget = sharedTarget("RE:dofTiles", {1, 16, tiles, false});
        dofReachTarget = sharedTarget("RE:dofReach", {1, 16, tiles, false});
        for (GL_FBOTexture* target : {dofTileTarget, dofReachTarget}) {
            glBindTexture(GL_TEXTURE_2D, target->colorTextures[0]);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        }
        glBindTexture(GL_TEXTURE_2D, 0);
    }
}

void Renderer::prepareFocusFalloff(float falloff) {
    if (!(features & RE_DOF))
        return;
    dofProgram(falloff, false);
    dofProgram(falloff, true);
}

GL_Shader* Renderer::dofProgram(float falloff, bool tile) {
    const int power = dofFalloffPower(falloff);
    GL_Shader*& slot = tile ? dofTilePrograms[power] : dofGatherPrograms[power];
    if (slot)
        return slot;
    std::string prefix = tile ? "#define TILE_BOUND\n" : "";
    if (power > 0)
        prefix += "#define FALLOFF_POWER " + std::to_string(power) + "\n";
    const float width = float(size.width);
    const float height = float(size.height);
    const char* name = tile ? "doftiles" : "singledof";
    slot = loadProgram(name, "forwardVert.h", "singleDof.h", prefix.empty() ? nullptr : prefix.c_str(),
                       valuesKey({width, height}), [&](GL_Shader& s) {
        setVec2(s, "invTexSize", 1.0f / width, 1.0f / height);
        setInt(s, "depth", 0);
        setInt(s, "focusMap", 2);
        if (tile)
            return;
        setInt(s, "image", 1);
        setInt(s, "reachMap", 3);
    });
    return slot;
}

}  // namespace RenderEngine
