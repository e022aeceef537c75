// libswapcount.so: loaded with LD_PRELOAD into a GLX program, counts its glXSwapBuffers
// calls, so frames are counted without a hook in the program itself. The count is a 64-bit
// integer at the start of the file named by SWAPCOUNT_FILE (made if missing), mapped
// shared: another process reads it at any time, and a frame costs no system call.
// Without SWAPCOUNT_FILE, or if the file cannot be mapped, swaps are passed on uncounted.
#define _GNU_SOURCE
#include <GL/glx.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <unistd.h>

typedef void (*SwapBuffersFunction)(Display*, GLXDrawable);

static uint64_t* counter;

__attribute__((constructor)) static void MapCounter(void) {
    const char* path = getenv("SWAPCOUNT_FILE");
    if (!path) return;
    const int fd = open(path, O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return;
    if (ftruncate(fd, sizeof *counter) == 0) {
        void* mapped = mmap(NULL, sizeof *counter, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (mapped != MAP_FAILED) counter = mapped;
    }
    close(fd);
}

void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    static SwapBuffersFunction next;
    if (!next) next = (SwapBuffersFunction)dlsym(RTLD_NEXT, "glXSwapBuffers");
    if (counter) __atomic_add_fetch(counter, 1, __ATOMIC_RELAXED);
    if (next) next(display, drawable);
}
