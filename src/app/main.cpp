// The viewer's entry point: the scene runtime and the window shell over it.

#include <filesystem>
#include <iostream>

#include "app/GlutShell.h"
#include "app/SceneRuntime.h"
#include "app/Viewer.h"

namespace {

// Created before main, so Log.htm holds its header before anything else runs; destroyed
// at exit, after GLUT's own teardown, which closes the log last.
SceneRuntime runtime{"Log.htm"};

// The log reports nothing about itself, and a viewer that silently writes no log leaves
// its user with nothing to read: say it once on the console.
void WarnIfLogUnwritable() {
    if (runtime.log.Writable()) return;
    std::error_code ignored;
    std::cerr << "sceneviewer: Log.htm cannot be written in "
              << std::filesystem::current_path(ignored).string()
              << "; the viewer runs without its log." << std::endl;
}

}  // namespace

int main(int argc, char** argv) {
    WarnIfLogUnwritable();
    // A reload releases the scene the same way as the exit does.
    Viewer viewer(runtime.camera, runtime.animationClock, runtime.log, runtime.objectList,
                  [] { runtime.Load(); }, [] { runtime.Release(); });
    // The objects' buffers, then textures and programs, are deleted while the window's
    // context is still current. Scene.xml and the files it names are watched.
    return RunGlutShell(argc, argv, viewer, runtime.log, [] { runtime.Release(); },
                        [] { return runtime.NamedFiles(); });
}
