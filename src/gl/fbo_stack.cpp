// The stack of render targets open for drawing: begin, end and the stack half of end.
#include "gl/fbo_texture.h"

#include "app/trace.h"

namespace zelFramework {

std::deque<GL_FBOTexture*>& GL_FBOTexture::fboStack() {
    static std::deque<GL_FBOTexture*> stack;
    return stack;
}

void GL_FBOTexture::begin() {
    glBindFramebuffer(GL_FRAMEBUFFER, framebufferId);
    setDrawBuffers(attachmentCount);
    glGetIntegerv(GL_VIEWPORT, savedViewport);
    glViewport(0, 0, width, height);
    fboStack().push_back(this);
}

void GL_FBOTexture::end() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(savedViewport[0], savedViewport[1], savedViewport[2], savedViewport[3]);
    popFboStack();
}

void GL_FBOTexture::popFboStack() {
    auto& stack = fboStack();
    if (stack.empty()) {
        trace(TRACE_CRITICAL, "fboStack", "destroyed!");
        return;
    }
    stack.pop_back();
    if (!stack.empty()) {
        // The viewport was already restored by end: the one saved when the inner target opened is
        // the outer target's.
        GL_FBOTexture* top = stack.back();
        glBindFramebuffer(GL_FRAMEBUFFER, top->framebufferId);
        setDrawBuffers(top->attachmentCount);
    }
}

}  // namespace zelFramework
