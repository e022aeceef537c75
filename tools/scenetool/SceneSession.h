#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/SceneRuntime.h"
#include "app/Viewer.h"
#include "offscreen/OffscreenContext.h"

class RgbImage;

// A scene folder loaded exactly as the viewer loads it, but into an offscreen context of
// a chosen size instead of a window: the same start-up state, camera start, loader and
// frame. The working folder becomes the scene folder, as the viewer's is, so relative
// paths given to a session's owner must be made absolute before.
//
// The animation clock runs, but its time moves only through SetTime, so a frame drawn at
// a given time always looks the same.
class SceneSession {
public:
    // Makes the context; the scene is not loaded yet. The log goes to `logPath` (a file the
    // user asked for, or /dev/null). Check Failure() before anything else.
    SceneSession(const std::string& folder, int width, int height, const std::string& logPath);
    // Releases the objects and the resources while the context is current.
    ~SceneSession();

    SceneSession(const SceneSession&) = delete;
    SceneSession& operator=(const SceneSession&) = delete;

    // Why the session cannot run (no such folder, no OpenGL 2.0); empty when it can.
    const std::string& Failure() const { return failure; }

    // The viewer's start: fixed state, camera start, Scene.xml and everything it names,
    // then the projection for the picture's size. Every error entry of the log is kept.
    void Load();

    // The error entries written while loading, in order.
    const std::vector<Problem>& Errors() const { return errors; }

    // Sets the animation clock, running, to `milliseconds`.
    void SetTime(std::int32_t milliseconds);

    // Draws one frame as the viewer's window does and waits until it is finished.
    void DrawFrame();

    // The last frame, rows from the top down.
    RgbImage Picture() const;

    const ResourceRegistry& Registry() const { return runtime.registry; }
    const Factory& Objects() const { return runtime.factory; }

private:
    std::string failure;
    std::unique_ptr<OffscreenContext> context;
    SceneRuntime runtime;
    Viewer viewer;
    std::vector<Problem> errors;
};
