#include "offscreen/OffscreenContext.h"

#include <GL/glew.h>

#include <EGL/egl.h>
#include <EGL/eglext.h>

OffscreenContext::OffscreenContext(int width, int height) : width(width), height(height) {
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay) {
        failure = "EGL has no eglGetPlatformDisplayEXT";
        return;
    }
    EGLDisplay eglDisplay =
        getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (eglDisplay == EGL_NO_DISPLAY || !eglInitialize(eglDisplay, nullptr, nullptr)) {
        failure = "no surfaceless EGL display";
        return;
    }
    display = eglDisplay;
    eglBindAPI(EGL_OPENGL_API);
    EGLContext eglContext =
        eglCreateContext(eglDisplay, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, nullptr);
    if (eglContext == EGL_NO_CONTEXT ||
        !eglMakeCurrent(eglDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, eglContext)) {
        failure = "no EGL OpenGL context";
        return;
    }
    context = eglContext;

    // Debian's GLEW is built for GLX and reports that it has no GLX display here, but it
    // has loaded the entry points all the same.
    const GLenum status = glewInit();
    if (status != GLEW_OK && status != GLEW_ERROR_NO_GLX_DISPLAY) {
        failure = "glewInit failed";
        return;
    }

    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glGenRenderbuffers(1, &colour);
    glBindRenderbuffer(GL_RENDERBUFFER, colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    glGenRenderbuffers(1, &depth);
    glBindRenderbuffer(GL_RENDERBUFFER, depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        failure = "framebuffer incomplete";
        return;
    }
    glViewport(0, 0, width, height);
}

OffscreenContext::~OffscreenContext() {
    if (context) {
        if (framebuffer) glDeleteFramebuffers(1, &framebuffer);
        if (colour) glDeleteRenderbuffers(1, &colour);
        if (depth) glDeleteRenderbuffers(1, &depth);
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(display, context);
    }
    if (display) eglTerminate(display);
}

std::vector<std::uint8_t> OffscreenContext::ReadPixels() const {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}
