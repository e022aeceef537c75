// A test build of the viewer: the process objects, the viewer and the window shell wired
// exactly as in the viewer's entry point, with a scene of test objects instead of a scene
// file. The scene is chosen by one extra argument, removed before GLUT sees the rest:
//
//   --scene=empty     nothing to draw (the default)
//   --scene=marker    a flat sign in front of the start camera (a red left half, a green
//                     right half and a blue tab on top) and four white tiles near the
//                     corners of the view, so turns and motion show on screen
//   --scene=throwing  the marker and an object whose Draw throws from the fourth frame on
//
// Its GL releaser deletes the marker's display list and logs whether a GL context was
// current at that moment.

#include <GL/glew.h>
#include <GL/glx.h>

#include <cstring>
#include <iostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/GlutShell.h"
#include "app/SceneRuntime.h"
#include "app/Viewer.h"
#include "objects/IGraphicObject.h"

namespace {

// A 200 by 200 unit square with a 50 by 50 tab above it, 1000 units ahead of the start
// camera and facing it, and four 20 by 20 tiles 300 units ahead, 15 degrees off the view
// axis towards the corners. The viewer turns the scene half a turn about Y after the
// camera transform; in scene coordinates the start eye is at (-450, 300, 3000) looking
// along (0.5, 0, -0.866), so the sign's centre is at (50, 300, 2134), and turning it by
// -30 degrees about Y points its face back at the eye. The near tiles make forward motion
// show quickly: they move outwards several times faster than the sign's edges grow.
class Marker final : public IGraphicObject {
public:
    void Prepare() override {
        list = glGenLists(1);
        glNewList(list, GL_COMPILE);
        glBegin(GL_QUADS);
        glColor3f(1.0f, 0.0f, 0.0f);
        Square(-100.0f, -100.0f, 0.0f, 100.0f);
        glColor3f(0.0f, 1.0f, 0.0f);
        Square(0.0f, -100.0f, 100.0f, 100.0f);
        glColor3f(0.0f, 0.0f, 1.0f);
        Square(-25.0f, 100.0f, 25.0f, 150.0f);
        glColor3f(1.0f, 1.0f, 1.0f);
        for (const float x : {-80.0f, 80.0f}) {
            for (const float y : {-80.0f, 80.0f}) {
                Square(x - 10.0f, y - 10.0f, x + 10.0f, y + 10.0f, 700.0f);
            }
        }
        glEnd();
        glEndList();
    }

    void Draw() override {
        // Plain colours whatever the viewer's lighting and culling state; both restored.
        glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
        glDisable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
        glTranslatef(50.0f, 300.0f, 2134.0f);
        glRotatef(-30.0f, 0.0f, 1.0f, 0.0f);
        glCallList(list);
        glPopAttrib();
    }

    // Deletes the display list; true if it is gone afterwards (or there was none).
    bool Release() {
        if (list == 0) return true;
        glDeleteLists(list, 1);
        const bool gone = glIsList(list) == GL_FALSE;
        list = 0;
        return gone;
    }

private:
    // A square facing the start camera, `z` units towards it from the sign.
    static void Square(float left, float bottom, float right, float top, float z = 0.0f) {
        glVertex3f(left, bottom, z);
        glVertex3f(right, bottom, z);
        glVertex3f(right, top, z);
        glVertex3f(left, top, z);
    }

    GLuint list = 0;
};

// Fails inside the frame loop after a few good frames.
class Throwing final : public IGraphicObject {
public:
    void Prepare() override {}
    void Draw() override {
        if (++frames >= 4) throw std::runtime_error("test object fails while drawing");
    }

private:
    int frames = 0;
};

// Defined before the runtime, so they are destroyed after the factory that
// points at them.
Marker marker;
Throwing throwing;
std::string sceneName = "empty";

SceneRuntime runtime{"Log.htm"};

void LoadScene() {
    if (sceneName == "marker" || sceneName == "throwing") {
        marker.Prepare();
        runtime.factory.objects.Append(&marker);
    }
    if (sceneName == "throwing") runtime.factory.objects.Append(&throwing);
}

void ReleaseGl() {
    if (glXGetCurrentContext() == nullptr) {
        runtime.log.WriteMessage("Probe release: no GL context was current.");
        return;
    }
    runtime.log.WriteMessage(marker.Release()
                                 ? "Probe release: GL context current, display list deleted."
                                 : "Probe release: GL context current, display list not deleted.");
}

}  // namespace

int main(int argc, char** argv) {
    constexpr std::string_view kSceneOption = "--scene=";
    std::vector<char*> arguments;
    for (int i = 0; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (i > 0 && argument.starts_with(kSceneOption)) {
            sceneName = argument.substr(kSceneOption.size());
        } else {
            arguments.push_back(argv[i]);
        }
    }
    if (sceneName != "empty" && sceneName != "marker" && sceneName != "throwing") {
        std::cerr << "viewer_probe: unknown scene \"" << sceneName << "\"\n";
        return 2;
    }
    int count = static_cast<int>(arguments.size());
    arguments.push_back(nullptr);

    Viewer viewer(runtime.camera, runtime.animationClock, runtime.log, runtime.objectList,
                  LoadScene);
    return RunGlutShell(count, arguments.data(), viewer, runtime.log, ReleaseGl);
}
