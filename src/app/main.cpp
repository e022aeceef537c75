// The viewer's entry point: the process-wide objects and the window shell over them.

#include <filesystem>
#include <iostream>

#include "app/GlutShell.h"
#include "app/ProcessObjects.h"
#include "app/Viewer.h"
#include "scene/Scene.h"

namespace {

// Created before main, so Log.htm holds its header before anything else runs; destroyed
// at exit, after GLUT's own teardown, which closes the log last.
ProcessObjects process{"Log.htm"};

void LoadScene() { Scene::Load(process.log, process.registry, process.factory); }

// The log reports nothing about itself, and a viewer that silently writes no log leaves
// its user with nothing to read: say it once on the console.
void WarnIfLogUnwritable() {
    if (process.log.Writable()) return;
    std::error_code ignored;
    std::cerr << "sceneviewer: Log.htm cannot be written in "
              << std::filesystem::current_path(ignored).string()
              << "; the viewer runs without its log." << std::endl;
}

}  // namespace

int main(int argc, char** argv) {
    WarnIfLogUnwritable();
    Viewer viewer(process.camera, process.animationClock, process.log, process.objectList,
                  LoadScene);
    // The objects' buffers, then textures and programs, are deleted while the window's
    // context is still current; the objects go first, as they point at the effects.
    return RunGlutShell(argc, argv, viewer, process.log, [] {
        process.factory.Release();
        process.registry.Release();
    });
}
