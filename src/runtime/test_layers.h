// Simple layers for the test composition: each draws into the picture viewport with plain OpenGL.
#pragma once

#include "runtime/layer_base.h"

namespace zelFramework {

struct Controller;

// What the test layers share: nothing to load unless they override init, and nothing to release.
class TestLayer : public Layer_Base {
public:
    bool init(GL_TextureManager*, ControllerSet*) override { return true; }
    void release() override {}
};

// A vertical gradient whose colours turn slowly with show time.
class Layer_TestGradient : public TestLayer {
public:
    bool init(GL_TextureManager* textures, ControllerSet* controllers) override;
    void setTime(const LayerTime& t) override { time_ = t.time; }
    void render() override;

private:
    float time_ = 0.0f;
    Controller* brightness_ = nullptr;  // "Test: brightness"; 0 (no keys) means full brightness
};

// A square turning about the picture centre, and a bar along the bottom showing the entry's progress.
class Layer_TestSquare : public TestLayer {
public:
    void setTime(const LayerTime& t) override;
    void render() override;

private:
    float localTime_ = 0.0f;
    float progress_ = 0.0f;
};

// A white flash that fades out over its entry.
class Layer_TestFlash : public TestLayer {
public:
    void setTime(const LayerTime& t) override;
    void render() override;

private:
    float strength_ = 0.0f;
};

}  // namespace zelFramework
