// The process-wide texture registry.
#include "gl/texture_manager.h"

#include <IL/il.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "app/screen_metrics.h"
#include "app/trace.h"
#include "gl/picture_file.h"
#include "gl/picture_rules.h"
#include "gl/picture_sequence.h"
#include "gl/texture_manager_background.h"
#include "platform/platform.h"

namespace zelFramework {
namespace {

// std::string orders by unsigned byte values, shorter first on a common prefix: exactly the byte-wise
// order the registry promises. No case folding or path normalisation: the key is the caller's spelling.
std::map<std::string, GL_Texture*>& registry() {
    static std::map<std::string, GL_Texture*> entries;
    return entries;
}

constexpr const char* WHITE_TEXTURE_KEY = "__whiteorvotex__";

// The rules of the current folder, read again whenever the folder changes (tests move between
// folders; the show stays in its resources folder).
const PictureRules& currentPictureRules() {
    static std::filesystem::path folder;
    static PictureRules rules;
    std::error_code error;
    std::filesystem::path here = std::filesystem::current_path(error);
    if (here != folder || folder.empty()) {
        folder = here;
        std::vector<std::string> problems;
        rules = readPictureRules(PICTURE_RULES_FILE, problems);
        for (const std::string& problem : problems) trace(TRACE_WARNING, "textureManager", "%s", problem.c_str());
    }
    return rules;
}

// Names of render targets ("RE:fboAO", "finalTarget") are asked for before they are published and
// are tried as files; only a name that reads as a picture file is worth a warning when it is absent.
bool namesAPictureFile(const char* name) { return ilTypeFromExt(name) != IL_TYPE_UNKNOWN; }

void warnUnloadable(const char* name, const std::string& why) {
    if (why != "file not found" || namesAPictureFile(name))
        trace(TRACE_WARNING, "textureManager", "cannot load picture \"%s\": %s", name, why.c_str());
}

std::unique_ptr<BackgroundPictures>& background() {
    static std::unique_ptr<BackgroundPictures> pictures;
    return pictures;
}

// The checks that can say "no" before anything is decoded; on true the job holds the file's bytes.
std::unique_ptr<PictureJob> pictureJob(const char* name, GLenum wrapS, GLenum wrapT, PictureFit fit) {
    auto job = std::make_unique<PictureJob>();
    std::string why;
    if (!readPictureBytes(name, job->bytes, why) || !pictureHeaderAllows(job->bytes, name, why)) {
        warnUnloadable(name, why);
        return nullptr;
    }
    job->name = name;
    job->keepWidth = fit.width;
    job->keepHeight = fit.height;
    job->flip = currentPictureRules().flips(name);
    job->mipmaps = fit.drawnSmaller;
    job->dropUnreadLevels = fit.dropUnreadLevels;
    job->wrapS = wrapS;
    job->wrapT = wrapT;
    return job;
}

// Main thread: the decoded picture becomes the texture's contents; the pixels are freed after.
void upload(PictureJob& job) {
    if (!job.ok) {
        trace(TRACE_WARNING, "textureManager", "cannot load picture \"%s\": %s", job.name.c_str(), job.why.c_str());
        const uint8_t clear[4] = {0, 0, 0, 0};
        job.texture->create(clear, 1, 1, GL_RGBA, job.wrapS, job.wrapT);
        return;
    }
    const DecodedPicture& p = job.picture;
    const std::vector<PictureLevel> smaller = pictureLevelViews(job.smallerLevels);
    job.texture->create(p.pixels.data(), p.width, p.height, p.bytesPerPixel == 4 ? GL_RGBA : GL_RGB, job.wrapS,
                        job.wrapT, smaller);
}

void uploadAllFinished() {
    if (!background()) return;
    for (std::unique_ptr<PictureJob>& job : background()->takeFinished(false)) {
        upload(*job);
        job.reset();  // its pixels now live in the texture
    }
}

void uploadUntilAllDone() {
    if (!background()) return;
    for (;;) {
        std::vector<std::unique_ptr<PictureJob>> done = background()->takeFinished(true);
        if (done.empty()) return;
        for (std::unique_ptr<PictureJob>& job : done) {
            upload(*job);
            job.reset();
        }
    }
}

bool samePictureFile(std::string_view a, std::string_view b) {
    return nativePath(a).lexically_normal() == nativePath(b).lexically_normal();
}

}  // namespace

std::vector<PictureLevel> pictureLevelViews(const std::vector<DecodedPicture>& levels) {
    std::vector<PictureLevel> views;
    for (const DecodedPicture& level : levels) views.push_back({level.pixels.data(), level.width, level.height});
    return views;
}

PictureFit fullPictureFit(float largestScale) {
    return {int(std::ceil(float(screenWidth) * largestScale)), int(std::ceil(float(renderHeight) * largestScale))};
}

GL_Texture* GL_TextureManager::getTexture(const char* name, GLenum wrapS, GLenum wrapT, PictureFit fit) {
    if (!name)
        return nullptr;
    GL_Texture*& entry = registry()[name];
    if (entry)
        return entry;

    std::unique_ptr<PictureJob> job = pictureJob(name, wrapS, wrapT, fit);
    if (!job)
        return nullptr;
    auto* texture = new GL_MemTexture();
    job->texture = texture;
    if (background()) {
        background()->submit(std::move(job));
    } else {
        preparePicture(*job);
        if (!job->ok) {
            warnUnloadable(name, job->why);
            delete texture;
            return nullptr;
        }
        upload(*job);
    }
    entry = texture;  // fills the empty entry looked up above; map entries stay where they are
    return texture;
}

void GL_TextureManager::startBackgroundLoading(int threads) {
    if (!background()) background() = std::make_unique<BackgroundPictures>(threads);
}

void GL_TextureManager::uploadDecodedPictures() { uploadAllFinished(); }

void GL_TextureManager::finishBackgroundLoading() {
    uploadUntilAllDone();
    background().reset();
}

bool GL_TextureManager::addTexture(const char* name, GL_Texture* texture) {
    if (!name)
        return true;
    GL_Texture*& entry = registry()[name];
    if (entry)
        return true;
    entry = texture;
    return false;
}

GL_Texture* GL_TextureManager::getWhiteTexture() {
    auto found = registry().find(WHITE_TEXTURE_KEY);
    if (found != registry().end() && found->second)
        return found->second;
    uint8_t pixels[8 * 8 * 3];
    std::fill(std::begin(pixels), std::end(pixels), uint8_t(0xFF));
    auto* texture = new GL_MemTexture();
    texture->create(pixels, 8, 8, GL_RGB, GL_REPEAT, GL_REPEAT);
    addTexture(WHITE_TEXTURE_KEY, texture);
    return texture;
}

bool GL_TextureManager::pictureFileUsable(const char* name) {
    return name && pictureJob(name, GL_REPEAT, GL_REPEAT, {}) != nullptr;
}

bool GL_TextureManager::decodePictureFile(const char* name, PictureFit fit, DecodedPicture& picture,
                                          std::vector<DecodedPicture>& smaller) {
    if (!name) return false;
    std::unique_ptr<PictureJob> job = pictureJob(name, GL_REPEAT, GL_REPEAT, fit);
    if (!job) return false;
    preparePicture(*job);
    if (!job->ok) {
        warnUnloadable(name, job->why);
        return false;
    }
    picture = std::move(job->picture);
    smaller = std::move(job->smallerLevels);
    return true;
}

size_t GL_TextureManager::entryCount() { return registry().size(); }

int GL_TextureManager::reloadPicture(const char* name) {
    if (!name) return 0;
    const int inSequences = GL_PictureSequence::reloadFiles([name](const std::string& file) { return samePictureFile(file, name); });
    std::vector<GL_MemTexture*> pictures;
    for (auto& [key, texture] : registry())
        if (auto* picture = dynamic_cast<GL_MemTexture*>(texture); picture && samePictureFile(key, name))
            pictures.push_back(picture);
    if (pictures.empty()) return inSequences;
    // The same checks and rules as a first load (header limits, flip rules), at the file's own size:
    // the author may have replaced the picture with one of another shape. A mipmapped picture gets
    // the levels of its new contents, or its old levels would no longer fit.
    PictureFit fit;
    fit.drawnSmaller = std::any_of(pictures.begin(), pictures.end(), [](GL_MemTexture* t) { return t->mipmapped(); });
    DecodedPicture p;
    std::vector<DecodedPicture> levels;
    if (!decodePictureFile(name, fit, p, levels)) return inSequences;
    const std::vector<PictureLevel> smaller = pictureLevelViews(levels);
    for (GL_MemTexture* picture : pictures)
        picture->replacePixels(p.pixels.data(), p.width, p.height, p.bytesPerPixel == 4 ? GL_RGBA : GL_RGB,
                               picture->mipmapped() ? std::span<const PictureLevel>(smaller)
                                                    : std::span<const PictureLevel>());
    return int(pictures.size()) + inSequences;
}

}  // namespace zelFramework
