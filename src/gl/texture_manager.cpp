// The process-wide texture registry.
#include "gl/texture_manager.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <string>
#include <string_view>

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

bool samePictureFile(std::string_view a, std::string_view b) {
    return nativePath(a).lexically_normal() == nativePath(b).lexically_normal();
}

}  // namespace

GL_Texture* GL_TextureManager::getTexture(const char* name, GLenum wrapS, GLenum wrapT) {
    if (!name)
        return nullptr;
    GL_Texture*& entry = registry()[name];
    if (entry)
        return entry;

    int width = 0, height = 0, bytesPerPixel = 0;
    std::vector<uint8_t> pixels;
    if (!loadImageFile(name, width, height, bytesPerPixel, pixels))
        return nullptr;

    auto* texture = new GL_MemTexture();
    texture->create(pixels.data(), width, height, bytesPerPixel == 4 ? GL_RGBA : GL_RGB, wrapS, wrapT);
    entry = texture;  // fills the empty entry looked up above; map entries stay where they are
    return texture;
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

size_t GL_TextureManager::entryCount() { return registry().size(); }

int GL_TextureManager::reloadPicture(const char* name) {
    if (!name) return 0;
    std::vector<GL_MemTexture*> pictures;
    for (auto& [key, texture] : registry())
        if (auto* picture = dynamic_cast<GL_MemTexture*>(texture); picture && samePictureFile(key, name))
            pictures.push_back(picture);
    if (pictures.empty()) return 0;
    int width = 0, height = 0, bytesPerPixel = 0;
    std::vector<uint8_t> pixels;
    if (!loadImageFile(name, width, height, bytesPerPixel, pixels)) return 0;
    for (GL_MemTexture* picture : pictures)
        picture->replacePixels(pixels.data(), width, height, bytesPerPixel == 4 ? GL_RGBA : GL_RGB);
    return int(pictures.size());
}

}  // namespace zelFramework
