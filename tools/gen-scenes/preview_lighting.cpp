#include "preview_lighting.h"

#include <jpeglib.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "image_io.h"

namespace zelFramework::scenegen {

namespace {

PreviewLighting titleLights() {
    PreviewLighting l;
    l.lights = {{{40, 50, -100}, {1.6f, 1.6f, 1.6f}, 800},
                {{0, 400, 2000}, {1.3f, 1.3f, 1.3f}, 2000},
                {{1000, 400, 500}, {0.8f, 0.8f, 0.8f}, 3000},
                {{1000, -400, 0}, {1.8f, 1.2f, 1.5f}, 1200}};
    l.radialLightFactor = 0;
    l.background = {23 / 255.0f * 0.5f, 23 / 255.0f * 0.5f, 30 / 255.0f * 0.5f};
    return l;
}

PreviewSetup stadium(float sceneTime) {
    PreviewSetup s;
    float showTime = sceneTime + 35.833f;
    Vec3 studioColour{0, 0, 0};
    Vec3 l7Pos{0, -3500, 0};
    float l7Falloff = 800;
    Vec3 studioPos{175.476f, -3180.013f, -1383.365f};
    if (showTime > 87.946f && showTime <= 102.709f) {
        studioColour = {0.8f, 0.8f, 1.0f};
        l7Pos = {175.476f, -3180.013f, -1523.365f};
        l7Falloff = 450;
    } else if (showTime > 102.709f) {
        float v = std::sin(sceneTime);
        studioColour = {v * v, 0.1f * v * v, 0.1f * v * v};
        studioPos = {0, -3200, 0};
    }
    s.lighting.lights = {{{-400, -2500, -400}, {0.55f, 0.5f, 0.5f}, 1800}, {{400, -2500, -400}, {0.55f, 0.5f, 0.5f}, 1800},
                         {{0, -2500, 400}, {0.5f, 0.5f, 0.5f}, 1800},      {{-400, -4000, 400}, {0.5f, 0.5f, 0.5f}, 1800},
                         {{400, -4000, 400}, {0.5f, 0.5f, 0.5f}, 1800},    {{0, -4000, -400}, {0.5f, 0.5f, 0.5f}, 1800},
                         {l7Pos, {0.9f, 0.8f, 0.8f}, l7Falloff},           {studioPos, studioColour, 450}};
    s.lighting.radialLightFactor = 1;
    if (showTime > 87.946f) {
        int n = int(std::floor((showTime - 82.6918) * 10));
        n = std::clamp(n, 57, 173);
        char name[64];
        std::snprintf(name, sizeof name, "video\\Tabor_Pimsel_%05d.png", n + 1);
        s.models.push_back({"pimsel.obj", name, {25.701f, -3185.013f, -1464.59f}, 0, 40, 0});
        s.models.push_back({"tabor.obj", name, {-25.701f, -3177.013f, -1484.59f}, 15, 40, 0});
    }
    return s;
}

bool endsWithNoCase(const std::string& s, const std::string& tail) {
    if (s.size() < tail.size()) return false;
    for (size_t i = 0; i < tail.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[s.size() - tail.size() + i])) != tail[i]) return false;
    return true;
}

bool readJpeg(const std::string& path, content::Image& out) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    jpeg_decompress_struct info;
    jpeg_error_mgr err;
    info.err = jpeg_std_error(&err);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, f);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    out = content::Image(int(info.output_width), int(info.output_height));
    std::vector<unsigned char> row(size_t(info.output_width) * 3);
    while (info.output_scanline < info.output_height) {
        unsigned char* p = row.data();
        int y = int(info.output_scanline);
        jpeg_read_scanlines(&info, &p, 1);
        for (int x = 0; x < out.width; ++x)
            out.at(x, y) = {row[3 * x] / 255.0f, row[3 * x + 1] / 255.0f, row[3 * x + 2] / 255.0f, 1};
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(f);
    return true;
}

}  // namespace

bool readPicture(const std::string& path, content::Image& out) {
    if (endsWithNoCase(path, ".jpg") || endsWithNoCase(path, ".jpeg")) return readJpeg(path, out);
    return content::readPng(path, out);
}

PreviewSetup previewSetupFor(const std::string& sceneFile, float seconds) {
    PreviewSetup s;
    if (sceneFile == "intro-005.orvo") {
        s.lighting.lights = {{{0.098f, 14.963f, -7.242f}, {1, 1, 1}, 10},
                             {{6.559f, 1.772f, 2.484f}, {0.5f, 0.5f, 0.5f}, 10},
                             {{-7.452f, 12.176f, 1.322f}, {1, 1, 1}, 10}};
        s.lighting.radialLightFactor = 0;
        s.lighting.lightIntensity = 1 + 3 * std::clamp(1 - seconds / 5, 0.0f, 1.0f);
    } else if (sceneFile == "ArenaTunnel.orvo") {
        s.lighting.lights = {{{0, 0, 0}, {1, 1, 1}, 600},           {{-400, -300, 0}, {1, 1, 1.2f}, 600},
                             {{400, -300, 0}, {1, 1, 1.2f}, 600},   {{0, -300, 400}, {1, 1, 1.2f}, 600},
                             {{-400, 300, 0}, {1, 1, 1.2f}, 600},   {{400, 300, 0}, {1, 1, 1.2f}, 600},
                             {{0, 300, 400}, {1, 1, 1.2f}, 600}};
    } else if (sceneFile == "Vexil2000.orvo") {
        s = stadium(seconds);
    } else if (sceneFile == "tunnel-004.orvo" || sceneFile == "velmora-logo.orvo") {
        const float z[8] = {89.8343f, 72.7316f, 54.5313f, 43.382f, 27.6038f, 5.8723f, -8.4732f, -24.469f};
        for (float lz : z) s.lighting.lights.push_back({{0, 3.5881f, lz}, {0.95f, 0.95f, 1}, 80});
        s.lighting.ambient = {0.19f, 0.18f, 0.2f};
    } else {
        s.lighting = titleLights();
    }
    return s;
}

}  // namespace zelFramework::scenegen
