#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/ObjectList.h"

class AnimationClock;
class Camera;
class HtmlLog;

// Draws every graphic object of `list` once, each inside its own matrix push and pop.
// Draws nothing while the factory is busy. The count is read again after every object.
void DrawObjects(const ObjectList& list);

// What the window shell does with the scene, apart from GLUT itself: start-up state,
// one frame, the projection, and the keys. Every operation but the keys needs a current
// GL context. The GLUT callbacks forward here, so this can be driven from tests.
class Viewer {
public:
    // Loads the scene into the registry and the factory; may throw.
    using SceneLoader = std::function<void()>;
    // Deletes every object and resource of the loaded scene, as at exit.
    using SceneReleaser = std::function<void()>;

    Viewer(Camera& camera, AnimationClock& clock, HtmlLog& log, ObjectList objects,
           SceneLoader loadScene, SceneReleaser releaseScene = nullptr);

    // Places the camera, sets the fixed GL state and loads the scene. A failure of the
    // loader is logged as "In scene Load() method." and does not leave Init. Returns how
    // many errors the load logged.
    int Init();

    // Loads the scene again after `changedFiles` changed on disk: a "Reload" section in the
    // log naming them and the time, everything released, then the same load as Init's.
    // The camera, the animation clock and the GL state stay as they are. Returns how many
    // errors the load logged.
    int Reload(const std::vector<std::string>& changedFiles);

    // One frame into the current draw buffer, up to glFlush; the caller swaps buffers.
    void Display();

    // Viewport and projection for a window of this size. A zero or negative size (a
    // minimised window) keeps the last usable aspect ratio.
    void Reshape(int width, int height);

    // Space pauses and resumes the animation clock; "w" and "s" change the camera's
    // speed. Every other key is ignored.
    void Keyboard(unsigned char key);

    // The arrow keys turn the camera. Every other special key is ignored.
    void SpecialKeys(int key);

    int windowWidth = 500;
    int windowHeight = 500;

private:
    int LoadScene();

    Camera& camera;
    AnimationClock& clock;
    HtmlLog& log;
    ObjectList objects;
    SceneLoader loadScene;
    SceneReleaser releaseScene;
    double aspect = 1.0;
};
