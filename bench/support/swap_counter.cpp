// Preloaded (LD_PRELOAD) into a program under measurement to count the
// frames it shows: after each buffer swap it appends one line, the time in
// seconds on CLOCK_MONOTONIC, to the file named by BENCH_SWAP_LOG. GLFW
// programs are caught at glfwSwapBuffers, which the executable calls through
// the dynamic linker (GLFW itself reaches glXSwapBuffers through dlsym, past
// any preload); XScreenSaver's hacks at eglSwapBuffers, plain GLX programs
// at glXSwapBuffers.
#include <dlfcn.h>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

void log_swap()
{
    static int log = -2; // -2: not opened yet, -1: no log wanted
    if (log == -2) {
        const char* path = std::getenv("BENCH_SWAP_LOG");
        log = path ? open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644) : -1;
    }
    if (log < 0)
        return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    char line[32];
    const int length = std::snprintf(line, sizeof line, "%.6f\n", now.tv_sec + now.tv_nsec * 1e-9);
    if (write(log, line, static_cast<size_t>(length)) < 0)
        log = -1;
}

template <typename Function>
Function next_definition(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" void glfwSwapBuffers(void* window)
{
    static auto real = next_definition<void (*)(void*)>("glfwSwapBuffers");
    real(window);
    log_swap();
}

extern "C" void glXSwapBuffers(void* display, unsigned long drawable)
{
    static auto real = next_definition<void (*)(void*, unsigned long)>("glXSwapBuffers");
    real(display, drawable);
    log_swap();
}

extern "C" unsigned eglSwapBuffers(void* display, void* surface)
{
    static auto real = next_definition<unsigned (*)(void*, void*)>("eglSwapBuffers");
    const unsigned done = real(display, surface);
    log_swap();
    return done;
}
