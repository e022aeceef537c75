// The viewer's entry point: the scene runtime and the window shell over it.

#include <cstring>
#include <filesystem>
#include <iostream>

#include "app/GlutShell.h"
#include "app/SceneRuntime.h"
#include "app/Viewer.h"

namespace {

constexpr const char* kUsage =
    "Usage: sceneviewer [GLUT options]\n"
    "       sceneviewer --help | --version\n"
    "\n"
    "Shows the scene that Scene.xml in the working directory describes, in an OpenGL 2.0\n"
    "window, and writes what it loaded and every problem it met to Log.htm beside it.\n"
    "Scene.xml and the files it names are watched; a saved change reloads the scene.\n"
    "\n"
    "Options:\n"
    "  --help      print this text and exit\n"
    "  --version   print the version and exit\n"
    "  Every other argument goes to GLUT, e.g. -geometry 800x600+0+0 or -display :1.\n"
    "\n"
    "Keys:\n"
    "  w / s          speed up / slow down\n"
    "  Left / Right   turn left / right\n"
    "  Up / Down      pitch\n"
    "  space          pause / resume the animations\n"
    "  F12            save the window's picture as screenshot-001.png, -002, ...\n"
    "  Escape         close the viewer\n"
    "\n"
    "Exit status: 0 after the window is closed; 1 when no window with OpenGL 2.0 could be\n"
    "opened (Log.htm says why).\n"
    "\n"
    "Example: cp -r /usr/share/doc/sceneviewer/demo my-scene && cd my-scene && sceneviewer\n"
    "See sceneviewer(1) and scenetool(1).\n";

// --help and --version are answered before anything else exists: no log is written and no
// window opened, so they work without a display and leave the folder as it was.
bool AnsweredInformationRequest(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::cout << kUsage;
            return true;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << "sceneviewer " << SCENEVIEWER_VERSION << "\n";
            return true;
        }
    }
    return false;
}

// Made on first use, before GLUT starts, so Log.htm holds its header before anything else
// runs; destroyed at exit, after GLUT's own teardown (registered later), which closes the
// log last.
SceneRuntime& Runtime() {
    static SceneRuntime runtime{"Log.htm"};
    return runtime;
}

// The log reports nothing about itself, and a viewer that silently writes no log leaves
// its user with nothing to read: say it once on the console.
void WarnIfLogUnwritable(const HtmlLog& log) {
    if (log.Writable()) return;
    std::error_code ignored;
    std::cerr << "sceneviewer: Log.htm cannot be written in "
              << std::filesystem::current_path(ignored).string()
              << "; the viewer runs without its log." << std::endl;
}

}  // namespace

int main(int argc, char** argv) {
    if (AnsweredInformationRequest(argc, argv)) return 0;
    SceneRuntime& runtime = Runtime();
    WarnIfLogUnwritable(runtime.log);
    // A reload releases the scene the same way as the exit does.
    Viewer viewer(runtime.camera, runtime.animationClock, runtime.log, runtime.objectList,
                  [&runtime] { runtime.Load(); }, [&runtime] { runtime.Release(); });
    // The objects' buffers, then textures and programs, are deleted while the window's
    // context is still current. Scene.xml and the files it names are watched.
    return RunGlutShell(argc, argv, viewer, runtime.log, [&runtime] { runtime.Release(); },
                        [&runtime] { return runtime.NamedFiles(); });
}
