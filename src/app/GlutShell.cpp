#include "app/GlutShell.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/Viewer.h"
#include "log/HtmlLog.h"

namespace {

// GLUT callbacks are plain functions; they reach the running shell through these.
Viewer* runningViewer = nullptr;
HtmlLog* runningLog = nullptr;
GlReleaser releaseGlObjects;
bool windowOpen = false;
bool leaving = false;
volatile std::sig_atomic_t stopRequested = 0;

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

void DisplayCallback() {
    Guarded([] {
        runningViewer->Display();
        glutSwapBuffers();
    });
}

void ReshapeCallback(int width, int height) {
    Guarded([=] { runningViewer->Reshape(width, height); });
}

void IdleCallback() {
    if (stopRequested && !leaving) {
        leaving = true;
        glutLeaveMainLoop();
        return;
    }
    glutPostRedisplay();
}

void KeyboardCallback(unsigned char key, int, int) {
    Guarded([=] { runningViewer->Keyboard(key); });
}

void SpecialKeysCallback(int key, int, int) {
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

}  // namespace

int RunGlutShell(int& argc, char** argv, Viewer& viewer, HtmlLog& log, GlReleaser releaseGl) {
    runningViewer = &viewer;
    runningLog = &log;
    releaseGlObjects = std::move(releaseGl);
    try {
        log.WriteTitle("Main");
        glutInitErrorFunc(OnGlutError);
        // Size and position go first so that GLUT's own -geometry option can override them.
        glutInitWindowSize(viewer.windowWidth, viewer.windowHeight);
        glutInitWindowPosition(100, 100);
        glutInit(&argc, argv);
        // Closing the window returns from the main loop, so this function returns and the
        // process ends through the ordinary exit path.
        glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
        glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
        glutCreateWindow(argc > 0 && argv[0] ? argv[0] : "sceneviewer");
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

        glutCloseFunc(CloseCallback);
        viewer.Init();

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
    return kExitOk;
}
