#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <string>
#include <vector>

// A real OpenGL compatibility context for tests, from Mesa's software renderer through
// EGL with no X server, drawing into an RGBA framebuffer object of the given size. The
// context is current from construction to destruction.
class GlTestContext {
public:
    GlTestContext(int width, int height);
    ~GlTestContext();

    GlTestContext(const GlTestContext&) = delete;
    GlTestContext& operator=(const GlTestContext&) = delete;

    // Why the context could not be made; empty when it works.
    const std::string& Failure() const { return failure; }

    // The framebuffer's pixels as RGBA bytes, bottom row first.
    std::vector<std::uint8_t> ReadPixels() const;

    int Width() const { return width; }
    int Height() const { return height; }

private:
    int width;
    int height;
    std::string failure;
    void* display = nullptr;
    void* context = nullptr;
    GLuint framebuffer = 0;
    GLuint colour = 0;
    GLuint depth = 0;
};

// Skips the current test when no GL context can be made, saying why.
#define REQUIRE_GL(context)                                                    \
    do {                                                                       \
        if (!(context).Failure().empty()) GTEST_SKIP() << (context).Failure(); \
    } while (0)
