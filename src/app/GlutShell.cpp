#include "app/GlutShell.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <GL/glx.h>

#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "app/FileWatcher.h"
#include "app/FramePacer.h"
#include "app/Screenshot.h"
#include "app/Viewer.h"
#include "log/HtmlLog.h"

namespace {

// GLUT callbacks are plain functions; they reach the running shell through these.
Viewer* runningViewer = nullptr;
HtmlLog* runningLog = nullptr;
GlReleaser releaseGlObjects;
bool windowOpen = false;
int windowId = 0;
bool leaving = false;
bool screenshotRequested = false;
volatile std::sig_atomic_t stopRequested = 0;
WatchedFiles filesToWatch;
std::unique_ptr<FileWatcher> watcher;

using namespace std::chrono_literals;
// Without a swap that waits for the display, frames come at this rate; with one, the
// shorter period only keeps a swap that does not wait (a hidden window) from spinning.
constexpr auto kFramePeriod = std::chrono::nanoseconds(1s) / 60;
constexpr auto kRefreshedFramePeriod = 4ms;
FramePacer pacer{kFramePeriod};

constexpr unsigned char kEscape = 27;

// Ctrl+C in the console, or a polite kill: leave the main loop like a window close, so the
// GL objects are released and the log gets its closing lines.
void OnStopSignal(int) { stopRequested = 1; }

// freeglut reports fatal errors here and must not get control back, or it crashes.
[[noreturn]] void OnGlutError(const char* format, va_list args) {
    char reason[512];
    std::vsnprintf(reason, sizeof reason, format, args);
    const std::string what = windowOpen ? "GLUT failed: " : "The window could not be opened: ";
    runningLog->WriteError(what + reason);
    // freeglut's own exit handler may trip over its half-made state; make sure the log is
    // complete before it runs.
    runningLog->Close();
    std::exit(kExitNoWindow);
}

// An exception cannot cross freeglut's C main loop: each callback catches it, logs it as
// the entry point would, and leaves the loop so that the ordinary exit path runs.
template <typename Action>
void Guarded(Action&& action) {
    if (leaving) return;
    try {
        action();
    } catch (...) {
        leaving = true;
        runningLog->WriteError("main");
        glutLeaveMainLoop();
    }
}

// Ends the main loop as a window close does: the close callback releases the GL objects
// and the entry point returns.
void LeaveMainLoop() {
    if (leaving) return;
    leaving = true;
    glutLeaveMainLoop();
}

void SaveScreenshot() {
    std::error_code ignored;
    const std::filesystem::path folder = std::filesystem::current_path(ignored);
    const std::string name = NextScreenshotName(folder);
    if (SaveFramePng(folder / name, runningViewer->windowWidth, runningViewer->windowHeight)) {
        runningLog->WriteMessage("Screenshot written:\t" + name);
    } else {
        runningLog->WriteError(Problem::At(name, 0, "The screenshot " + name +
                                                        " could not be written."));
    }
}

// The console's one line about a load that logged errors; the details are in the log.
void ReportErrors(int errors) {
    // Without a log there is nothing to point at; the entry point has said so already.
    if (errors <= 0 || !runningLog->Writable()) return;
    std::error_code ignored;
    const auto path = std::filesystem::absolute(runningLog->FileName(), ignored);
    std::cerr << "sceneviewer: " << errors << (errors == 1 ? " error" : " errors")
              << " loading the scene; see " << path.string() << std::endl;
}

// Watches the files of the scene as just loaded. If that is not possible the log says so
// once and the viewer goes on without reloading.
void WatchSceneFiles() {
    if (!watcher) return;
    // The log changes with every entry: a scene that names it would reload for ever.
    std::error_code ignored;
    const auto logPath = std::filesystem::weakly_canonical(runningLog->FileName(), ignored);
    std::vector<std::string> files = filesToWatch();
    std::erase_if(files, [&](const std::string& file) {
        std::error_code error;
        return std::filesystem::weakly_canonical(file, error) == logPath && !error;
    });
    if (const auto problem = watcher->Watch(files)) {
        runningLog->WriteError(*problem);
        watcher.reset();
    }
}

void ReloadChangedFiles() {
    if (!watcher) return;
    watcher->Poll();
    const std::vector<std::string> changed = watcher->TakeSettled();
    if (changed.empty()) return;
    Guarded([&] {
        // The scene's GL objects belong to the window's context.
        glutSetWindow(windowId);
        ReportErrors(runningViewer->Reload(changed));
        WatchSceneFiles();
    });
}

// Asks for one swap per display refresh through whichever GLX extension offers it. False
// where none does, as on a virtual X server.
bool RequestSwapPerRefresh() {
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (!display || !drawable) return false;
    const char* list = glXQueryExtensionsString(display, DefaultScreen(display));
    const std::string extensions = std::string(" ") + (list ? list : "") + " ";
    const auto offers = [&](const char* name) {
        return extensions.find(std::string(" ") + name + " ") != std::string::npos;
    };
    const auto entry = [](const char* name) {
        return glXGetProcAddress(reinterpret_cast<const GLubyte*>(name));
    };
    if (offers("GLX_EXT_swap_control")) {
        using SwapIntervalEXT = void (*)(Display*, GLXDrawable, int);
        if (auto set = reinterpret_cast<SwapIntervalEXT>(entry("glXSwapIntervalEXT"))) {
            set(display, drawable, 1);
            return true;
        }
    }
    if (offers("GLX_MESA_swap_control")) {
        using SwapIntervalMESA = int (*)(unsigned);
        auto set = reinterpret_cast<SwapIntervalMESA>(entry("glXSwapIntervalMESA"));
        if (set && set(1) == 0) return true;
    }
    if (offers("GLX_SGI_swap_control")) {
        using SwapIntervalSGI = int (*)(int);
        auto set = reinterpret_cast<SwapIntervalSGI>(entry("glXSwapIntervalSGI"));
        if (set && set(1) == 0) return true;
    }
    return false;
}

void DisplayCallback() {
    Guarded([] {
        runningViewer->Display();
        if (screenshotRequested) {
            screenshotRequested = false;
            SaveScreenshot();
        }
        glutSwapBuffers();
    });
}

void ReshapeCallback(int width, int height) {
    Guarded([=] { runningViewer->Reshape(width, height); });
}

void IdleCallback() {
    if (stopRequested) {
        LeaveMainLoop();
        return;
    }
    pacer.WaitForFrame();
    ReloadChangedFiles();
    glutPostRedisplay();
}

void KeyboardCallback(unsigned char key, int, int) {
    if (key == kEscape) {
        LeaveMainLoop();
        return;
    }
    Guarded([=] { runningViewer->Keyboard(key); });
}

void SpecialKeysCallback(int key, int, int) {
    if (key == GLUT_KEY_F12) {
        screenshotRequested = true;
        glutPostRedisplay();
        return;
    }
    Guarded([=] { runningViewer->SpecialKeys(key); });
}

void CloseCallback() {
    if (!releaseGlObjects) return;
    try {
        releaseGlObjects();
    } catch (...) {
        runningLog->WriteError("main");
    }
    releaseGlObjects = nullptr;
}

std::string GlText(GLenum name) {
    const auto* text = reinterpret_cast<const char*>(glGetString(name));
    return text ? text : "(unknown)";
}

// Whether the command line has a -geometry that gives both a width and a height, as in
// "640x480+0+0" ([=]WIDTHxHEIGHT first, in X's geometry syntax).
bool GeometryGivesSize(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-geometry") != 0) continue;
        const char* at = argv[i + 1];
        if (*at == '=') ++at;
        const auto digits = [&] {
            const char* start = at;
            while (*at >= '0' && *at <= '9') ++at;
            return at != start;
        };
        return digits() && (*at == 'x' || *at == 'X') && (++at, digits());
    }
    return false;
}

}  // namespace

int RunGlutShell(int& argc, char** argv, Viewer& viewer, HtmlLog& log, GlReleaser releaseGl,
                 WatchedFiles watchedFiles) {
    runningViewer = &viewer;
    runningLog = &log;
    releaseGlObjects = std::move(releaseGl);
    filesToWatch = std::move(watchedFiles);
    try {
        log.WriteTitle("Main");
        glutInitErrorFunc(OnGlutError);
        // Size and position go first so that GLUT's own -geometry option can override them.
        glutInitWindowSize(viewer.windowWidth, viewer.windowHeight);
        glutInitWindowPosition(100, 100);
        // Asked before glutInit, which takes the options it knows out of argv.
        const bool sizeGiven = GeometryGivesSize(argc, argv);
        glutInit(&argc, argv);
        // A -geometry that gives only a place (+0+0) leaves GLUT's window size at whatever
        // its parser did not set: 0 by 0, which X refuses with a fatal error, or any other
        // size. Keep the viewer's size then.
        if (!sizeGiven) glutInitWindowSize(viewer.windowWidth, viewer.windowHeight);
        // Closing the window returns from the main loop, so this function returns and the
        // process ends through the ordinary exit path.
        glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
        glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
        windowId = glutCreateWindow(argc > 0 && argv[0] ? argv[0] : "sceneviewer");
        windowOpen = true;

        const GLenum glewStatus = glewInit();
        if (!glewIsSupported("GL_VERSION_2_0")) {
            if (glewStatus != GLEW_OK) {
                log.WriteError(std::string("GLEW could not be initialised: ") +
                               reinterpret_cast<const char*>(glewGetErrorString(glewStatus)));
            }
            log.WriteError("The OpenGL driver reports version " + GlText(GL_VERSION) + " (" +
                           GlText(GL_RENDERER) + ").");
            log.WriteError("OpenGL 2.0 is not supported. Now exit.");
            return kExitNoOpenGL2;
        }
        log.WriteMessage("Opengl 2.0 is supported.");

        if (RequestSwapPerRefresh()) pacer = FramePacer(kRefreshedFramePeriod);

        glutCloseFunc(CloseCallback);
        ReportErrors(viewer.Init());
        if (filesToWatch) {
            watcher = std::make_unique<FileWatcher>();
            WatchSceneFiles();
        }

        glutDisplayFunc(DisplayCallback);
        glutReshapeFunc(ReshapeCallback);
        glutKeyboardFunc(KeyboardCallback);
        glutSpecialFunc(SpecialKeysCallback);
        glutIdleFunc(IdleCallback);
        log.WriteTitle("Main Loop");
        std::signal(SIGINT, OnStopSignal);
        std::signal(SIGTERM, OnStopSignal);
        glutMainLoop();
    } catch (...) {
        log.WriteError("main");
    }
    watcher.reset();
    return kExitOk;
}
