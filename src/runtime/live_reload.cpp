// The live reloader: the changed files of each frame go to the part of the show that reads them.
#include "runtime/live_reload.h"

#include <GL/glew.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

#include "app/screen_metrics.h"
#include "app/trace.h"
#include "assets/model_reload.h"
#include "gl/gltk.h"
#include "gl/shader_reload.h"
#include "gl/texture_manager.h"
#include "runtime/frame_host.h"
#include "runtime/show_editor.h"
#include "runtime/show_runtime.h"
#include "sync/controller_set.h"
#include "sync/file_io.h"

namespace zelFramework {
namespace {

constexpr const char* TAG = "liveReload";
constexpr std::string_view SHADER_FOLDER = "shaders/";
constexpr std::string_view SYNC_DATA_FILE = "data/demosynch.dat";
constexpr const char* KEYS_BEFORE_RELOAD = "editor/keys-before-reload.dat";
constexpr int NOTE_FRAMES = 90;
constexpr size_t MAX_SHOWN_LINES = 24;

std::string lowerExtension(std::string_view path) {
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return std::string();
    std::string ext(path.substr(dot));
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return ext;
}

bool isPictureExtension(const std::string& ext) {
    static const std::array<const char*, 11> pictures = {".png", ".jpg", ".jpeg", ".tga", ".bmp", ".dds",
                                                         ".gif", ".tif", ".tiff", ".psd", ".pcx"};
    return std::find_if(pictures.begin(), pictures.end(), [&](const char* p) { return ext == p; }) != pictures.end();
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        if (end > start) lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

const Controller* findController(const ControllerSet& set, const std::string& name) {
    for (uint32_t i = 0; i < set.count(); ++i)
        if (set.at(i)->name == name) return set.at(i);
    return nullptr;
}

bool sameCurve(const Controller* a, const Controller* b) {
    const bool aEmpty = !a || a->keys.empty(), bEmpty = !b || b->keys.empty();
    if (aEmpty || bEmpty) return aEmpty && bEmpty;
    if (a->keys.size() != b->keys.size()) return false;
    for (size_t k = 0; k < a->keys.size(); ++k) {
        if (a->keys[k].time != b->keys[k].time || a->keys[k].value != b->keys[k].value) return false;
        if (k > 0 && (a->segments[k - 1].curve != b->segments[k - 1].curve || a->segments[k - 1].ends != b->segments[k - 1].ends))
            return false;
    }
    return true;
}

// Whether loading `file` into `set` would leave every curve as it is: the editor's own save comes
// back this way, and reading it again would only throw away the editor's selection.
bool fileMatchesSet(const ControllerSet& set, const ControllerSet& file) {
    for (uint32_t i = 0; i < set.count(); ++i)
        if (!sameCurve(set.at(i), findController(file, set.at(i)->name))) return false;
    for (uint32_t i = 0; i < file.count(); ++i)
        if (!findController(set, file.at(i)->name) && !file.at(i)->keys.empty()) return false;
    return true;
}

}  // namespace

ResourceKind classifyResource(std::string_view path) {
    const std::string ext = lowerExtension(path);
    // The show writes scrambled shader copies and model caches beside their sources, each through a
    // ".part" file renamed over it; they follow the source, never the other way round.
    if (ext == ".bin" || ext == ".tmp" || ext == ".part") return ResourceKind::Ignored;
    if (path.substr(0, SHADER_FOLDER.size()) == SHADER_FOLDER) return ResourceKind::Shader;
    if (path == SYNC_DATA_FILE) return ResourceKind::SyncData;
    if (isPictureExtension(ext)) return ResourceKind::Picture;
    if (ext == ".obj" || ext == ".orvo") return ResourceKind::Model;
    return ResourceKind::Ignored;
}

LiveReload::LiveReload(ShowRuntime& runtime) : runtime_(runtime) {}

LiveReload::~LiveReload() { releaseBitmapFont(font_); }

bool LiveReload::start(const std::filesystem::path& resources, std::string& problem) {
    if (!watcher_.start(resources, problem)) return false;
    trace(TRACE_INFO, TAG, "watching %s for changed files", resources.c_str());
    return true;
}

void LiveReload::poll() {
    for (const std::string& path : watcher_.takeChanges()) reload(path);
}

void LiveReload::note(const std::string& line) {
    lastReload_ = line;
    lastReloadFrames_ = NOTE_FRAMES;
    trace(TRACE_INFO, TAG, "%s", line.c_str());
}

void LiveReload::reload(const std::string& path) {
    switch (classifyResource(path)) {
    case ResourceKind::Shader: reloadShader(path); break;
    case ResourceKind::SyncData: reloadSyncData(path); break;
    case ResourceKind::Picture: {
        const int count = GL_TextureManager::reloadPicture(path.c_str());
        if (count > 0) note("picture " + path + " reloaded");
        break;
    }
    case ResourceKind::Model: {
        const ModelReloadReport report = reloadModelsFrom(path);
        if (report.reloaded > 0) note("model " + path + " reloaded");
        if (report.failed > 0) failures_[path] = report.problems;
        else if (report.reloaded > 0) failures_.erase(path);
        break;
    }
    case ResourceKind::Ignored: break;
    }
}

void LiveReload::reloadShader(const std::string& path) {
    const ShaderReloadReport report = reloadShadersReading(std::string_view(path).substr(SHADER_FOLDER.size()));
    if (report.failed > 0) {
        failures_[path] = report.log;
        return;
    }
    failures_.erase(path);
    if (report.rebuilt > 0) note("shader " + path + " rebuilt (" + std::to_string(report.rebuilt) + " programs)");
}

void LiveReload::reloadSyncData(const std::string& path) {
    ControllerSet* set = runtime_.controllers;
    if (!set) return;
    std::vector<uint8_t> bytes;
    std::string problem;
    ControllerSet onDisk;
    if (!readWholeFile(path, bytes, problem) || !onDisk.loadFromBytes(bytes, path)) {
        failures_[path] = path + ": not a sound sync data file, the keys in memory stay\n";
        return;
    }
    if (fileMatchesSet(*set, onDisk)) {
        failures_.erase(path);
        return;
    }
    // The editor may hold edits not saved yet; the file wins, but what it replaces is kept.
    std::string kept;
    if (runtime_.editor && set->save(KEYS_BEFORE_RELOAD)) kept = std::string("; the keys before it are in ") + KEYS_BEFORE_RELOAD;
    set->loadFromBytes(bytes, path);  // checked above, so it cannot fail now
    failures_.erase(path);
    // Paused, the frame loop leaves the controllers alone; the picture still shows the new keys.
    set->update(float(frameShowMs(runtime_)) / 1000.0f);
    if (runtime_.editor) runtime_.editor->keysReplaced();
    note("sync data " + path + " reloaded: " + std::to_string(set->count()) + " controllers" + kept);
}

std::string LiveReload::failureText() const {
    std::string text;
    for (const auto& [file, log] : failures_) text += "cannot use " + file + ":\n" + log;
    return text;
}

void LiveReload::draw() {
    if (lastReloadFrames_ > 0) --lastReloadFrames_;
    const std::vector<std::string> lines = splitLines(failureText());
    if (lines.empty() && lastReloadFrames_ == 0) return;
    if (!font_.valid()) createBitmapFont(font_, std::max(12, renderHeight / 40));
    if (!font_.valid()) return;

    glPushAttrib(GL_ALL_ATTRIB_BITS);
    GLint previousProgram = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &previousProgram);
    glUseProgram(0);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    GLint viewport[4] = {0, 0, 1, 1};
    glGetIntegerv(GL_VIEWPORT, viewport);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, double(viewport[2]), 0.0, double(viewport[3]), -1.0, 1.0);  // pixels, origin bottom left
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    const float lineHeight = float(font_.ascent + font_.descent + 2);
    // Below the editor's menu row, above its time axis.
    const float top = float(viewport[3]) * 0.92f;
    if (!lines.empty()) {
        const size_t shown = std::min(lines.size(), MAX_SHOWN_LINES);
        glColor4f(0.0f, 0.0f, 0.0f, 0.75f);
        glRectf(0.0f, top - lineHeight * float(shown) - 4.0f, float(viewport[2]), top + 4.0f);
        for (size_t i = 0; i < shown; ++i)
            drawText(font_.listBase, 6.0f, top - float(font_.ascent) - lineHeight * float(i), 1.0f, 0.45f, 0.35f, 1.0f,
                     "%s", lines[i].c_str());
    } else {
        drawText(font_.listBase, 6.0f, top - float(font_.ascent), 0.6f, 1.0f, 0.6f, 1.0f, "%s", lastReload_.c_str());
    }

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glUseProgram(GLuint(previousProgram));
    glPopAttrib();
}

void attachLiveReload(ShowRuntime& runtime) {
    auto* live = new LiveReload(runtime);
    std::string problem;
    std::error_code ec;
    if (!live->start(std::filesystem::current_path(ec), problem)) {
        trace(TRACE_WARNING, TAG, "%s; the show plays without reloading", problem.c_str());
        delete live;
        return;
    }
    delete runtime.watcher;
    runtime.watcher = live;
}

}  // namespace zelFramework
