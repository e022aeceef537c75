#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A real OpenGL compatibility context with no window and no X server: Mesa's surfaceless
// EGL platform, drawing into an RGBA framebuffer object of the given size with a depth
// buffer. The context is current from construction to destruction. The tools render
// scenes through it and the tests run GL code in it.
class OffscreenContext {
public:
    OffscreenContext(int width, int height);
    ~OffscreenContext();

    OffscreenContext(const OffscreenContext&) = delete;
    OffscreenContext& operator=(const OffscreenContext&) = delete;

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
    std::uint32_t framebuffer = 0;
    std::uint32_t colour = 0;
    std::uint32_t depth = 0;
};
