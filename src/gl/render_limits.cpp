#include "gl/render_limits.h"

#include <GL/glew.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace zelFramework {

namespace {

constexpr GLenum GPU_MEMORY_TOTAL_AVAILABLE_NVX = 0x9048;  // GL_NVX_gpu_memory_info, in KiB
constexpr GLenum TEXTURE_FREE_MEMORY_ATI = 0x87FC;         // GL_ATI_meminfo, 4 values in KiB

// What the kernel could give this process now without swapping; the physical memory where /proc
// does not say.
uint64_t availableMemoryBytes() {
    if (std::FILE* f = std::fopen("/proc/meminfo", "r")) {
        char line[128];
        unsigned long long kib = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, f)) found = std::sscanf(line, "MemAvailable: %llu kB", &kib) == 1;
        std::fclose(f);
        if (found) return uint64_t(kib) * 1024u;
    }
    const long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGESIZE);
    return pages > 0 && pageSize > 0 ? uint64_t(pages) * uint64_t(pageSize) : 0;
}

void queryMemory(RenderLimits& limits) {
    GLint kib[4] = {};
    if (glewIsSupported("GL_NVX_gpu_memory_info")) {
        glGetIntegerv(GPU_MEMORY_TOTAL_AVAILABLE_NVX, kib);
        limits.memoryBytes = uint64_t(std::max(kib[0], 0)) * 1024u;
        limits.memorySource = "the graphics card's memory";
    } else if (glewIsSupported("GL_ATI_meminfo")) {
        glGetIntegerv(TEXTURE_FREE_MEMORY_ATI, kib);
        limits.memoryBytes = uint64_t(std::max(kib[0], 0)) * 1024u;
        limits.memorySource = "the graphics card's free memory";
    }
    if (limits.memoryBytes == 0) {
        limits.memoryBytes = availableMemoryBytes() / 4;
        limits.memorySource = "a quarter of the machine's available memory";
    }
}

std::string gib(uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f GiB", double(bytes) / double(1ull << 30));
    return text;
}

}  // namespace

RenderLimits queryRenderLimits() {
    RenderLimits limits;
    GLint viewport[2] = {};
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &limits.maxTextureSize);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &limits.maxRenderbufferSize);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    limits.maxViewportWidth = viewport[0];
    limits.maxViewportHeight = viewport[1];
    queryMemory(limits);
    return limits;
}

std::string renderSizeProblem(const RenderLimits& limits, int width, int height) {
    const std::string size = "the picture of " + std::to_string(width) + " x " + std::to_string(height) + " pixels";
    const struct {
        int limit;
        const char* name;
    } sides[] = {{limits.maxTextureSize, "picture size (GL_MAX_TEXTURE_SIZE)"},
                 {limits.maxRenderbufferSize, "depth buffer size (GL_MAX_RENDERBUFFER_SIZE)"},
                 {std::min(limits.maxViewportWidth, limits.maxViewportHeight), "viewport size (GL_MAX_VIEWPORT_DIMS)"}};
    for (const auto& side : sides)
        if (side.limit > 0 && std::max(width, height) > side.limit)
            return size + " is larger than the driver's largest " + side.name + " of " + std::to_string(side.limit) +
                   "; choose a smaller width";
    const uint64_t needed = uint64_t(width) * uint64_t(height) * RENDER_TARGET_BYTES_PER_PIXEL;
    if (limits.memoryBytes > 0 && needed > limits.memoryBytes) {
        // The height follows the width, so the memory grows with its square.
        const double scale = std::sqrt(double(limits.memoryBytes) / double(needed));
        return size + " needs about " + gib(needed) + " of render targets, more than the " +
               gib(limits.memoryBytes) + " of " + limits.memorySource + "; choose a width of at most " +
               std::to_string(int(double(width) * scale));
    }
    return {};
}

bool softwareRendererName(const char* renderer) {
    return renderer && (std::strstr(renderer, "llvmpipe") || std::strstr(renderer, "softpipe") ||
                        std::strstr(renderer, "Software"));
}

}  // namespace zelFramework
