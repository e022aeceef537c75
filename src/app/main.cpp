// The viewer's entry point: the process-wide objects and the window shell over them.

#include "app/GlutShell.h"
#include "app/ProcessObjects.h"
#include "app/Viewer.h"

namespace {

// Created before main, so Log.htm holds its header before anything else runs; destroyed
// at exit, after GLUT's own teardown, which closes the log last.
ProcessObjects process{"Log.htm"};

// Reading Scene.xml comes with the scene loader; until then the scene stays empty.
void LoadScene() {}

}  // namespace

int main(int argc, char** argv) {
    Viewer viewer(process.camera, process.animationClock, process.log, process.objectList,
                  LoadScene);
    // Textures and programs are deleted while the window's context is still current.
    return RunGlutShell(argc, argv, viewer, process.log, [] { process.registry.Release(); });
}
