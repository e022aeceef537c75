#include "SceneSession.h"

#include <GL/glew.h>

#include <filesystem>
#include <system_error>

#include "RgbImage.h"

SceneSession::SceneSession(const std::string& folder, int width, int height,
                           const std::string& logPath)
    : runtime(logPath, [] { return std::uint32_t{0}; }),
      viewer(runtime.camera, runtime.animationClock, runtime.log, runtime.objectList,
             [this] { runtime.Load(); }) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        failure = "the scene folder " + folder + " does not exist";
        return;
    }
    std::filesystem::current_path(folder, error);
    if (error) {
        failure = "cannot enter the scene folder " + folder + ": " + error.message();
        return;
    }
    context = std::make_unique<OffscreenContext>(width, height);
    if (!context->Failure().empty()) {
        failure = "no OpenGL context: " + context->Failure();
    } else if (!glewIsSupported("GL_VERSION_2_0")) {
        // As the viewer, which refuses to start: the shaders need OpenGL 2.0.
        const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
        failure = std::string("OpenGL 2.0 is not supported: the driver offers ") +
                  (version ? version : "no version");
    }
}

SceneSession::~SceneSession() {
    if (!context || !context->Failure().empty()) return;
    runtime.Release();
}

void SceneSession::Load() {
    runtime.log.SetErrorListener([this](const Problem& problem) { errors.push_back(problem); });
    viewer.Init();
    viewer.Reshape(context->Width(), context->Height());
    runtime.log.SetErrorListener({});
}

void SceneSession::SetTime(std::int32_t milliseconds) {
    runtime.animationClock.paused = false;
    runtime.animationClock.total = milliseconds;
}

void SceneSession::DrawFrame() {
    viewer.Display();
    glFinish();
}

RgbImage SceneSession::Picture() const {
    const std::vector<std::uint8_t> rgba = context->ReadPixels();
    const int width = context->Width();
    const int height = context->Height();
    RgbImage picture(width, height);
    for (int y = 0; y < height; ++y) {
        // The framebuffer's rows run from the bottom up.
        const std::uint8_t* row = &rgba[static_cast<std::size_t>(height - 1 - y) * width * 4];
        for (int x = 0; x < width; ++x) {
            std::uint8_t* pixel = picture.At(x, y);
            pixel[0] = row[x * 4];
            pixel[1] = row[x * 4 + 1];
            pixel[2] = row[x * 4 + 2];
        }
    }
    return picture;
}
