#pragma once

#include <functional>
#include <string>
#include <vector>

class HtmlLog;
class Viewer;

// Exit statuses of the viewer process.
constexpr int kExitOk = 0;
constexpr int kExitNoWindow = 1;   // no display, or a display without OpenGL support
constexpr int kExitNoOpenGL2 = 1;  // the driver lacks OpenGL 2.0

// Releases the scene's GL objects. Called once, from GLUT's close callback, while the
// window's context is still current (by the time static destructors run it is gone).
using GlReleaser = std::function<void()>;

// The files whose changes on disk reload the scene, asked again after every load.
using WatchedFiles = std::function<std::vector<std::string>()>;

// The entry point's work: GLUT and the window, the OpenGL 2.0 check, viewer.Init(), the
// callbacks, and the main loop until the window is closed. Logs each phase and every
// failure to `log`. Returns the process exit status; where GLUT itself cannot go on (no
// display) it logs why, closes the log and exits the process with kExitNoWindow.
//
// Frames come once per display refresh where the driver can wait for it, else 60 times a
// second. With `watchedFiles`, a settled change of any of them reloads the scene through
// viewer.Reload. After a load that logged errors, one line on standard error says how
// many and where the log is.
//
// Keys: Escape closes the window as a window manager does; F12 writes the window's
// picture as screenshot-NNN.png into the working folder; the rest go to the viewer.
//
// An exception from start-up or from any callback is logged as the error "main" and ends
// the main loop; the status is then still kExitOk. SIGINT and SIGTERM during the main loop
// end it the same way a window close does.
int RunGlutShell(int& argc, char** argv, Viewer& viewer, HtmlLog& log, GlReleaser releaseGl,
                 WatchedFiles watchedFiles = nullptr);
