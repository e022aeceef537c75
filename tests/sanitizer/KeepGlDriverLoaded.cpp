// Linked into every program of the sanitized build (SCENEVIEWER_SANITIZE), nowhere else.
//
// Mesa loads its DRI module (the software renderer) with dlopen when a GL display is opened
// and unloads it again when the display is closed, which the viewer and the GL tests do
// before they exit. LeakSanitizer only looks at the heap at exit: by then the module is gone,
// and what the driver itself never freed shows up as allocations from an "unknown module"
// that no suppression can name. One extra reference, taken at start-up and never dropped,
// keeps the module mapped until exit, so its leaks are reported as the driver's (and
// suppressed as such, tests/sanitizer/lsan.supp) and its globals still count as roots.

#include <dlfcn.h>

#include <cstdio>

namespace {

[[gnu::constructor]] void KeepGlDriverLoaded() {
    if (dlopen(SCENEVIEWER_GL_DRIVER, RTLD_LAZY | RTLD_LOCAL | RTLD_NODELETE) == nullptr) {
        std::fprintf(stderr, "sanitized build: cannot keep the GL driver %s loaded: %s\n",
                     SCENEVIEWER_GL_DRIVER, dlerror());
    }
}

}  // namespace
