// Debugger output, file names, and the show's generator: the parts of the platform that need no window.
#include "platform/platform.h"

#include <SDL.h>

namespace zelFramework {

namespace {
// Never destroyed: a destructor that traces while the process exits still finds it.
std::function<void(const char*)>& debugHook() {
    static auto* hook = new std::function<void(const char*)>;
    return *hook;
}
uint32_t& randState() {
    static uint32_t state = 1;  // the C runtime's state before any srand
    return state;
}
}  // namespace

void debugOutput(const char* text) {
    if (!text) return;
    if (debugHook()) {
        debugHook()(text);
        return;
    }
    std::fputs(text, stderr);
}

std::function<void(const char*)> setDebugOutputHook(std::function<void(const char*)> hook) {
    std::function<void(const char*)> previous = std::move(debugHook());
    debugHook() = std::move(hook);
    return previous;
}

std::filesystem::path nativePath(std::string_view name) {
    // "editor//button.png" and ".\shaders\x" both name ordinary relative paths once mapped.
    std::string out;
    out.reserve(name.size());
    for (char c : name) {
        if (c == '\\') c = '/';
        if (c == '/' && !out.empty() && out.back() == '/') continue;
        out.push_back(c);
    }
    return std::filesystem::path(out);
}

FILE* openFile(std::string_view name, const char* mode) { return std::fopen(nativePath(name).c_str(), mode); }

std::filesystem::path executableDirectory() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) return exe.parent_path();
    char* base = SDL_GetBasePath();
    std::filesystem::path dir = base ? std::filesystem::path(base) : std::filesystem::current_path(ec);
    SDL_free(base);
    return dir;
}

bool changeDirectory(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::current_path(folder, ec);
    return !ec;
}

int showRand() {
    randState() = randState() * 214013u + 2531011u;
    return int((randState() >> 16) & 0x7FFF);
}

void showSrand(uint32_t seed) { randState() = seed; }

uint64_t performanceCounter() { return SDL_GetPerformanceCounter(); }
uint64_t performanceFrequency() { return SDL_GetPerformanceFrequency(); }
void sleepMs(uint32_t ms) { SDL_Delay(ms); }

}  // namespace zelFramework
