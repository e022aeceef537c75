#pragma once

#include <functional>

class HtmlLog;
class Viewer;

// Exit statuses of the viewer process.
constexpr int kExitOk = 0;
constexpr int kExitNoWindow = 1;   // no display, or a display without OpenGL support
constexpr int kExitNoOpenGL2 = 1;  // the driver lacks OpenGL 2.0

// Releases the scene's GL objects. Called once, from GLUT's close callback, while the
// window's context is still current (by the time static destructors run it is gone).
using GlReleaser = std::function<void()>;

// The entry point's work: GLUT and the window, the OpenGL 2.0 check, viewer.Init(), the
// callbacks, and the main loop until the window is closed. Logs each phase and every
// failure to `log`. Returns the process exit status; where GLUT itself cannot go on (no
// display) it logs why, closes the log and exits the process with kExitNoWindow.
//
// An exception from start-up or from any callback is logged as the error "main" and ends
// the main loop; the status is then still kExitOk. SIGINT and SIGTERM during the main loop
// end it the same way a window close does.
int RunGlutShell(int& argc, char** argv, Viewer& viewer, HtmlLog& log, GlReleaser releaseGl);
