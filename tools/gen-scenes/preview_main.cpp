// scene-preview: draws one frame of a generated set with the software rasteriser, lit by the lights
// the set's layer places, so the sets can be checked by eye without the render engine.
//
//   scene-preview <resources folder> <scene file> <seconds> <out.png> [eye.x eye.y eye.z tgt.x tgt.y tgt.z fovY]
//
// Seconds are the layer's own time for the scene's camera. With the seven optional numbers the
// camera is placed by hand (for the sets whose layer moves the camera itself).
#include <cmath>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "assets/byte_io.h"
#include "assets/obj_parser.h"
#include "assets/orvo_scene_reader.h"
#include "assets/scene_camera_math.h"
#include "assets/scene_key_math.h"
#include "flash_table.h"
#include "image_io.h"
#include "picture_job.h"
#include "preview_lighting.h"
#include "soft_raster.h"
#include "tool_usage.h"

using namespace zelFramework;
using namespace zelFramework::scenegen;

namespace {

constexpr int kOut = 2;  // supersampling factor

struct PictureCache {
    std::string folder;
    std::map<std::string, content::Image> images;
    const content::Image* get(const std::string& name) {
        if (name.empty()) return nullptr;
        auto it = images.find(name);
        if (it != images.end()) return it->second.width ? &it->second : nullptr;
        content::Image img;
        if (!readPicture(resourcePath(folder, name), img)) std::fprintf(stderr, "preview: no picture %s\n", name.c_str());
        auto& slot = images[name] = img;
        return slot.width ? &slot : nullptr;
    }
};

Mat4 fromArray(const float* m) {
    Mat4 r;
    for (int i = 0; i < 16; ++i) r.m[i] = m[i];
    return r;
}

void drawObject(const SceneObject& o, const Mat4& parent, float frame, SoftRaster& raster, PictureCache& pictures) {
    Mat4 here = parent;
    if (!o.keys.empty()) {
        SceneKeyPose pose = evaluateSceneKeys(o.keys, frame);
        if (!pose.visible) return;
        float m[16];
        sceneKeyMatrix(pose, m);
        here = parent * fromArray(m);
    }
    if (o.vertexCount && !o.indices.empty()) {
        PreviewSurface surface;
        if (o.material) {
            surface.diffuse = pictures.get(o.material->diffuseMap);
            surface.lightMap = pictures.get(o.material->lightMap);
            surface.specular = {o.material->specularColor.x, o.material->specularColor.y, o.material->specularColor.z};
            surface.shininess = (1 - o.material->roughness) * 80;
        }
        raster.drawMesh(o.positions.data(), o.normals.data(), o.texCoords.data(), o.indices.data(), o.indices.size(),
                        here, surface);
    }
    for (const SceneObject* c : o.children) drawObject(*c, here, frame, raster, pictures);
}

void drawExtraModels(const std::vector<PreviewModel>& models, SoftRaster& raster, PictureCache& pictures) {
    for (const PreviewModel& m : models) {
        std::vector<uint8_t> bytes;
        ObjMesh mesh;
        std::string why;
        if (!readWholeFile(resourcePath(pictures.folder, m.objFile), bytes, why) ||
            !parseObjText(reinterpret_cast<const char*>(bytes.data()), bytes.size(), mesh, &why)) {
            std::fprintf(stderr, "preview: cannot read %s: %s\n", m.objFile.c_str(), why.c_str());
            continue;
        }
        PreviewSurface surface;
        surface.diffuse = pictures.get(m.texture);
        surface.lightInfluence = m.lightInfluence;
        Mat4 model = Mat4::translation(m.position) * Mat4::scaling({m.scale, m.scale, m.scale}) *
                     Mat4::rotationY(m.rotationDegrees);
        raster.drawMesh(mesh.positions.data(), mesh.normals.data(), mesh.texCoords.data(), nullptr, mesh.vertexCount,
                        model, surface);
    }
}

// The stadium layer's flashes at scene time S: 400 points of the table picked by the show's generator
// (reseeded 20 times a second), their brightness a wave along the list; none after the lights go out.
void drawStadiumFlashes(const std::string& folder, float sceneTime, SoftRaster& raster) {
    if (sceneTime + 35.833f > 102.709f) return;
    std::vector<uint8_t> bytes;
    std::string why;
    if (!readWholeFile(resourcePath(folder, kFlashTableName), bytes, why) || bytes.size() < 4) return;
    uint32_t count = 0;
    std::memcpy(&count, bytes.data(), 4);
    if (bytes.size() != 4 + 12ull * count || count < 11000) return;
    uint32_t state = uint32_t(int(std::floor(double(sceneTime * 20))));
    auto next = [&] {
        state = state * 214013u + 2531011u;
        return int((state >> 16) & 0x7FFF);
    };
    for (int i = 0; i < 400; ++i) {
        float intensity = float(std::fabs(std::sin(double(float(i) / 10 + sceneTime * 300 + float(std::cos(double(sceneTime)))))));
        int k = next() % 11000;
        float p[3];
        std::memcpy(p, bytes.data() + 4 + 12 * size_t(k), 12);
        raster.addFlare({p[0] * 10, p[1] * 10, p[2] * 10}, 25, intensity);
    }
}

content::Image downsample(const content::Image& big, int factor) {
    content::Image out(big.width / factor, big.height / factor);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            content::Rgba sum{0, 0, 0, 0};
            for (int j = 0; j < factor; ++j)
                for (int i = 0; i < factor; ++i) {
                    const content::Rgba& p = big.at(x * factor + i, y * factor + j);
                    sum.r += p.r, sum.g += p.g, sum.b += p.b;
                }
            float k = 1.0f / (factor * factor);
            out.at(x, y) = {sum.r * k, sum.g * k, sum.b * k, 1};
        }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    const bool help = zelFramework::toolfiles::helpRequested(argc, argv);
    if (help || (argc != 5 && argc != 12))
        return zelFramework::toolfiles::printUsage(
            "usage: scene-preview <resources> <scene> <seconds> <out.png> [eye target fovY]\n", help);
    std::string folder = argv[1], sceneFile = argv[2], outPath = argv[4];
    float seconds = float(std::atof(argv[3]));
    std::vector<uint8_t> bytes;
    OrvoScene scene;
    std::string problem;
    if (!readWholeFile(resourcePath(folder, sceneFile), bytes, problem) ||
        !parseOrvoScene(bytes.data(), bytes.size(), scene, &problem)) {
        std::fprintf(stderr, "preview: cannot load %s: %s\n", sceneFile.c_str(), problem.c_str());
        return 1;
    }
    PreviewSetup setup = previewSetupFor(sceneFile, seconds);
    const int w = 456 * kOut, h = 200 * kOut;
    SoftRaster raster(w, h, setup.lighting);
    if (argc == 12) {
        Vec3 eye{float(std::atof(argv[5])), float(std::atof(argv[6])), float(std::atof(argv[7]))};
        Vec3 target{float(std::atof(argv[8])), float(std::atof(argv[9])), float(std::atof(argv[10]))};
        float fovY = float(std::atof(argv[11]));
        float n = 0.1f, t = n * std::tan(radians(fovY) * 0.5f);
        raster.setCamera(eye, target, {0, 1, 0}, {-t * 2.28f, t * 2.28f, -t, t, n, 1000});
    } else {
        SceneCameraView view;
        if (!evaluateSceneCamera(scene, seconds, view)) {
            std::fprintf(stderr, "preview: %s has no camera\n", sceneFile.c_str());
            return 1;
        }
        const SceneCameraSample& c = view.camera;
        Vec3 eye{c.position.x, c.position.y, c.position.z};
        raster.setCamera(eye, eye + Vec3{c.direction.x, c.direction.y, c.direction.z}, {c.up.x, c.up.y, c.up.z},
                         {view.left, view.right, view.bottom, view.top, view.nearPlane, view.farPlane});
    }
    PictureCache pictures{folder, {}};
    if (!scene.objects.empty()) drawObject(scene.objects[0], Mat4{}, seconds * 24.0f, raster, pictures);
    drawExtraModels(setup.models, raster, pictures);
    if (sceneFile == "Vexil2000.orvo") drawStadiumFlashes(folder, seconds, raster);
    content::Image out = downsample(raster.picture(), kOut);
    content::clampAll(out);
    return content::writePng(outPath, out, content::PngChannels::Rgb) ? 0 : 1;
}
