// Linked with -Wl,--wrap=glfwWindowHint,--wrap=glfwCreateWindow,
// --wrap=glfwTerminate into a test build: every window creation that asks
// for multisampling fails, as on a driver that offers no multisampled pixel
// format. The rest pass through.
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <cstdio>
#include <unistd.h>

int refused_multisample_windows = 0;

namespace {
int samples_hint = 0; // the GLFW_SAMPLES hint as last set
}

extern "C" void __real_glfwWindowHint(int hint, int value);
extern "C" GLFWwindow* __real_glfwCreateWindow(int width, int height, const char* title, GLFWmonitor* monitor,
                                               GLFWwindow* share);

extern "C" void __wrap_glfwWindowHint(int hint, int value)
{
    if (hint == GLFW_SAMPLES)
        samples_hint = value;
    __real_glfwWindowHint(hint, value);
}

extern "C" GLFWwindow* __wrap_glfwCreateWindow(int width, int height, const char* title, GLFWmonitor* monitor,
                                               GLFWwindow* share)
{
    if (samples_hint != 0) {
        ++refused_multisample_windows;
        return nullptr;
    }
    return __real_glfwCreateWindow(width, height, title, monitor, share);
}

// The saver shuts the library down only through its exit hook, on the way
// out after a fatal failure. In the test process that would end the run
// with exit code 0 before any check; make it a failure instead.
extern "C" void __wrap_glfwTerminate()
{
    std::fputs("the saver gave up during start-up\n", stderr);
    std::fflush(stderr);
    _exit(1);
}
