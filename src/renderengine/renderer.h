// The deferred scene renderer every 3-D layer owns: named objects and lights drawn into a
// two-attachment geometry target, then a fixed chain of full-picture passes (ambient occlusion,
// lighting composite, anti-aliasing, depth of field, glow, motion blur) that leaves the finished
// picture in sceneryTarget. Render targets are shared by name between all renderers.
#pragma once

#include <GL/glew.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "assets/model_renderer.h"
#include "gl/shader.h"
#include "renderengine/features.h"
#include "renderengine/render_sizes.h"
#include "renderengine/scene_records.h"

namespace zelFramework {
class GL_FBOTexture;
class GL_Texture;
class GL_TextureManager;
}  // namespace zelFramework

namespace RenderEngine {

constexpr int MOTION_BLUR_HISTORY = 10;
constexpr int MAX_UPLOADED_LIGHTS = 8;
// The motion-blur history advances at most this often (seconds).
constexpr float MOTION_BLUR_STEP = 1.0f / 30.0f;

class Renderer {
public:
    // The empty program (id 0) that a shader slot of a feature the mask leaves out points to.
    static zelFramework::GL_Shader& noProgram();

    zelFramework::GL_TextureManager* textureManager = nullptr;  // kept, not owned
    zelFramework::GL_FBOTexture* sceneryTarget = nullptr;      // "RE:sceneryFBO": the finished picture
    std::map<std::string, RenderObject*> objects;               // drawn in ascending name order
    std::map<std::string, Light*> lights;                       // uploaded in ascending name order
    zelFramework::GL_Texture* noiseTexture = nullptr;
    // Programs are shared by every renderer built with the same features, picture size and shader
    // folder (see renderer_setup.cpp), so they are not owned here.
    zelFramework::GL_Shader* ssaoShader = &noProgram();
    zelFramework::GL_Shader* prepareShader = &noProgram();
    zelFramework::GL_Shader* depthOnlyShader = &noProgram();  // the geometry pass's depth, nothing else
    zelFramework::GL_Shader* cubeToEquirectShader = &noProgram();
    zelFramework::GL_Shader* combineShader = &noProgram();
    zelFramework::GL_Shader* dofShader = &noProgram();
    zelFramework::GL_Shader* fxaaShader = &noProgram();
    zelFramework::GL_Shader* glowShader = &noProgram();
    zelFramework::GL_Shader* glowHalfTexelShader = &noProgram();  // the glow for taps between texels
    zelFramework::GL_Shader* combineGlowShader = &noProgram();
    zelFramework::GL_FBOTexture* deferredTarget = nullptr;
    zelFramework::GL_FBOTexture* aoTarget = nullptr;
    zelFramework::GL_FBOTexture* aoBlurTarget1 = nullptr;
    zelFramework::GL_FBOTexture* aoBlurTarget2 = nullptr;
    zelFramework::GL_FBOTexture* cubeMapTarget = nullptr;
    zelFramework::GL_FBOTexture* motionBlurTargets[MOTION_BLUR_HISTORY] = {};
    zelFramework::GL_FBOTexture* dofLayerTargets[2] = {};
    zelFramework::GL_FBOTexture* tempTarget1 = nullptr;
    zelFramework::GL_FBOTexture* tempTarget2 = nullptr;
    zelFramework::GL_Texture* reflectionTexture = nullptr;  // not owned; unit 2 for every object
    zelFramework::GL_Texture* flareTexture = nullptr;
    zelFramework::GL_Shader* aoBlurShader = &noProgram();
    zelFramework::GL_Shader* executeShader = &noProgram();
    // With RE_DOF: finds the frame's focus distance once ("RE:dofFocus", one texel) for the gather.
    zelFramework::GL_Shader* dofFocusShader = &noProgram();
    zelFramework::GL_FBOTexture* focusTarget = nullptr;
    // With RE_DOF: the largest circle of confusion per tile ("RE:dofTiles") and over the tiles a tap
    // can reach from each ("RE:dofReach"), which the gather stops its rings at. The general programs
    // are built with the renderer, those for whole-number falloffs when a frame first needs them.
    zelFramework::GL_Shader* dofTileShader = &noProgram();
    zelFramework::GL_Shader* dofReachShader = &noProgram();
    zelFramework::GL_FBOTexture* dofTileTarget = nullptr;
    zelFramework::GL_FBOTexture* dofReachTarget = nullptr;

    // Settings, written by layers before each frame.
    float fogColor[3] = {0.3f, 0.23f, 0.11f};
    float fogDistance = 10000.0f;
    float fogStart = 50000.0f;
    float gradientBottomColor[3] = {0.0f, 0.0f, 0.0f};
    float gradientTopColor[3] = {0.0f, 0.0f, 0.0f};
    bool backgroundGradient = false;
    float motionBlurTimer = 0.0f;
    float motionBlurAmount = 1.0f;
    float dofLayerBlend = 0.0f;
    float dofLayerBlurAmount = 0.2f;
    int32_t dofLayerBlurKind = 1;
    float dofFocusFalloff = 2.0f;
    float dofFocusBackShift = 0.5f;
    float dofFocusRadius = 1.0f;
    float dofFocusQuality = 2.0f;
    // Off, every pixel gathers every ring the quality asks for; the picture is the same either way.
    bool dofTileBound = true;
    float aoExponent = 2.2f;
    float aoRadius = 0.5f;
    float aoStrength = 0.68f;
    float glowIntensity = 1.0f;
    float glowRadius = 1.0f;
    float lightIntensity = 1.0f;
    float ambientLightColor[3] = {0.0f, 0.0f, 0.0f};
    float radialLightFactor = 1.0f;

    uint32_t features = 0;
    bool cameraPreset = false;     // the camera is already set when the frame starts
    std::string cameraObjectName;  // object whose scene camera drives the view; empty = none
    std::vector<Flare> flares;     // emptied and refilled by the layer every frame
    // Smallest half-size of a flare on screen, as a share of the picture's height (0: flares exactly
    // as given). Far flares grow to it, so that a flare stays a visible spark at every render size
    // instead of a texel or two of its picture, and each flare is drawn a little towards the eye on
    // its line of sight, so that the surface it sits on does not hide half of it.
    float flareMinimumScreenSize = 0.0f;

    // Builds shaders and targets for `features` at the picture size times resolutionScale. Cube mode
    // together with depth of field, glow or depth-of-field layers is refused with a WARNING: those
    // features are dropped and cube mode kept.
    Renderer(zelFramework::GL_TextureManager* textureManager, zelFramework::GL_Texture* reflectionTexture,
             float resolutionScale, uint32_t features);
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // A whole ".orvo" scene as one object (both textures null). Records made by the adders live as
    // long as the renderer; records a layer stores through object() and light() stay the layer's.
    void addOrvoScene(const std::string& name, const std::string& sceneFile);
    // An OBJ model; the matcap comes from the texture manager when its name is not empty.
    void addObjModel(const std::string& name, const std::string& objFile, zelFramework::GL_Texture* diffuseTexture,
                     const std::string& matCapTextureName);
    void addLight(const std::string& name, const float position[3], const float color[3], float falloffDistance);
    // With RE_DOF: builds the depth-of-field programs for a falloff now, while loading, instead of on
    // the first frame that uses it (a whole-number falloff has programs of its own).
    void prepareFocusFalloff(float falloff);

    // The map slot of `name`; an unknown name gives an empty (null) slot. Storing replaces the pointer
    // without freeing the previous record.
    RenderObject*& object(const std::string& name) { return objects[name]; }
    Light*& light(const std::string& name) { return lights[name]; }

    // Draws one frame into sceneryTarget. `time` drives the models and scene cameras, `delta` the
    // motion-blur history. Returns with program 0, blending off, depth test on, units 0 and 1 empty,
    // unit 0 active and the target stack as on entry.
    void renderFrame(float time, float delta);

    RenderSize renderSize() const { return size; }

private:
    RenderSize size;
    // What the adders made. The maps only point at records (layers also store their own), so the
    // renderer keeps its own makings here and frees them with itself.
    std::vector<std::unique_ptr<RenderObject>> ownedObjects;
    std::vector<std::unique_ptr<zelFramework::ModelRenderer>> ownedModels;
    std::vector<std::unique_ptr<Light>> ownedLights;
    // By dofFalloffPower; slot 0 is dofShader and dofTileShader.
    zelFramework::GL_Shader* dofGatherPrograms[5] = {};
    zelFramework::GL_Shader* dofTilePrograms[5] = {};

    void loadShaders(float resolutionScale);
    void createTargets(float resolutionScale);

    // Frame passes, in order.
    bool applyCameraObject(float time);
    void geometryPass(int pass, float time, bool cameraSet);
    void uploadFrameUniforms();
    void uploadLights(bool cameraSet);
    void drawObjects(int pass, float time, bool cameraSet);
    bool depthPrepass(int pass, float time, bool cameraSet);
    void drawFlares();
    void keepFlareVisible(const float view[16], float heightAtUnitDistance, float centre[3], float& size) const;
    bool occlusionShown() const;
    void occlusionPass();
    void drawOcclusion();
    void compositePass(int face);
    void antiAliasAndFocusPass(int face);
    void focusPass();
    // Fills dofReachTarget for the gather; the gather program for this frame's falloff is returned.
    zelFramework::GL_Shader* dofReachPass();
    void dofTilePass(zelFramework::GL_Shader* tileProgram, int reachTiles);
    // The gather (tile = false) or tile-bound program for this falloff, built on first use.
    zelFramework::GL_Shader* dofProgram(float falloff, bool tile);
    void glowPass();
    void dofLayerPass();
    void motionBlurPass(float delta);
    void panoramaPass();

    // Opens face `face` of the cube target for drawing like begin does.
    void beginCubeFace(int face);
};

}  // namespace RenderEngine
