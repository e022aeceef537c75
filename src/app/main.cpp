// The viewer's entry point: the process-wide objects and the window shell over them.

#include "app/AnimationClock.h"
#include "app/Camera.h"
#include "app/GlutShell.h"
#include "app/ObjectList.h"
#include "app/Viewer.h"
#include "factory/Factory.h"
#include "log/HtmlLog.h"
#include "resources/ResourceRegistry.h"

namespace {

// The process-wide objects, created before main in member order, so the log exists with
// its header before anything writes to it, and destroyed at exit in reverse order: the
// registry and the factory, then the log with its closing lines, then the camera.
struct ProcessObjects {
    Camera camera;
    AnimationClock animationClock;
    HtmlLog log{"Log.htm", "Log file"};
    Factory factory{animationClock, log};
    ResourceRegistry registry{log};
    ObjectList objectList{factory.objects, factory.busy};
};

ProcessObjects process;

// Reading Scene.xml comes with the scene loader; until then the scene stays empty.
void LoadScene() {}

}  // namespace

int main(int argc, char** argv) {
    Viewer viewer(process.camera, process.animationClock, process.log, process.objectList,
                  LoadScene);
    return RunGlutShell(argc, argv, viewer, process.log, {});
}
