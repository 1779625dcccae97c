// Linked into a test build of the saver with -Wl,--wrap=glfwSwapBuffers:
// after each buffer swap it prints one line
//   swap SECONDS
// with the library's clock, so that a test can count the frames shown, and
// before the first of them one line
//   samples N
// with the GL_SAMPLES of the window swapped first. Under a GL tracer that
// offers string markers (apitrace), each swap also leaves "swap WINDOW" in
// the trace: GLFW 3.4 swaps through libGLX, where a libGL tracer sees no
// swap at all.
#include <glad/gl.h>
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <dlfcn.h>

#include <cstdio>
#include <cstring>

extern "C" void __real_glfwSwapBuffers(GLFWwindow* window);

namespace {

using StringMarker = void (*)(GLsizei, const void*);

// Looked up the way the saver's own GL entry points are (libGL's
// glXGetProcAddressARB), so that the tracer in between hands out its marker.
StringMarker tracer_marker()
{
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (!extensions || !std::strstr(extensions, "GL_GREMEDY_string_marker"))
        return nullptr;
    void* gl = dlopen("libGL.so.1", RTLD_LAZY);
    using GetProc = void* (*)(const GLubyte*);
    auto get_proc = gl ? reinterpret_cast<GetProc>(dlsym(gl, "glXGetProcAddressARB")) : nullptr;
    return get_proc ? reinterpret_cast<StringMarker>(get_proc(reinterpret_cast<const GLubyte*>("glStringMarkerGREMEDY")))
                    : nullptr;
}

} // namespace

extern "C" void __wrap_glfwSwapBuffers(GLFWwindow* window)
{
    static bool first = true;
    static StringMarker marker = nullptr;
    if (first) {
        first = false;
        GLint samples = -1;
        glGetIntegerv(GL_SAMPLES, &samples);
        std::printf("samples %d\n", samples);
        marker = tracer_marker();
    }
    if (marker) {
        char text[64];
        std::snprintf(text, sizeof text, "swap %p", static_cast<void*>(window));
        marker(0, text);
    }
    __real_glfwSwapBuffers(window);
    std::printf("swap %.6f\n", glfwGetTime());
    std::fflush(stdout);
}
