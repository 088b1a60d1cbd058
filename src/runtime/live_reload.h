// Live reloading: the show watches its resources folder and brings in what an author saves while it
// plays (shaders, pictures, the sync data file, OBJ models and scenes), keeping its time. A shader
// that fails to build keeps its last good program, and the compiler's messages stay on screen until
// a build of that file succeeds.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "gl/bitmap_font.h"
#include "platform/file_watcher.h"
#include "runtime/show_watcher.h"

namespace zelFramework {

struct ShowRuntime;

// What a changed file is to the show, from its path relative to the resources folder.
enum class ResourceKind { Ignored, Shader, SyncData, Picture, Model };
ResourceKind classifyResource(std::string_view relativePath);

class LiveReload : public ShowWatcher {
public:
    explicit LiveReload(ShowRuntime& runtime);
    ~LiveReload() override;

    // Watches `resources` (the current folder while the show runs). False, with the reason, when the
    // folder cannot be watched.
    bool start(const std::filesystem::path& resources, std::string& problem);

    void poll() override;
    void draw() override;

    // Brings in one changed file (path relative to the resources folder); poll calls it for each.
    void reload(const std::string& relativePath);

    // The messages drawn on screen: every shader file whose last build failed, with its log.
    std::string failureText() const;
    // The last line about a successful reload, shown for a moment.
    const std::string& lastReload() const { return lastReload_; }

private:
    void reloadShader(const std::string& path);
    void reloadSyncData(const std::string& path);
    void note(const std::string& line);

    ShowRuntime& runtime_;
    FileWatcher watcher_;
    std::map<std::string, std::string> failures_;  // file -> messages of its failed build
    std::string lastReload_;
    int lastReloadFrames_ = 0;  // frames the note stays on screen
    BitmapFont font_;
};

// Attaches a live reloader for the current folder to the runtime, which owns it from then on; a
// folder that cannot be watched leaves a WARNING and the show plays without one.
void attachLiveReload(ShowRuntime& runtime);

}  // namespace zelFramework
