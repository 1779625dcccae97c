#include "app/gl_requirements.h"

#include "platform/platform.h"

#include <glad/gl.h>

// The loader keeps a pointer per entry point, empty when the driver did not
// offer it (or offers an older version than the one that brought it).
#define GL_ENTRY_POINT(function, version) \
    GlEntryPoint { #function, version, [] { return glad_##function != nullptr; } }

namespace {

const GlEntryPoint entry_points[] = {
    GL_ENTRY_POINT(glBlendFunc, "1.0"),
    GL_ENTRY_POINT(glClear, "1.0"),
    GL_ENTRY_POINT(glCullFace, "1.0"),
    GL_ENTRY_POINT(glDepthFunc, "1.0"),
    GL_ENTRY_POINT(glDepthRange, "1.0"),
    GL_ENTRY_POINT(glDisable, "1.0"),
    GL_ENTRY_POINT(glEnable, "1.0"),
    GL_ENTRY_POINT(glFrontFace, "1.0"),
    GL_ENTRY_POINT(glGetFloatv, "1.0"),
    GL_ENTRY_POINT(glGetIntegerv, "1.0"),
    GL_ENTRY_POINT(glGetString, "1.0"),
    GL_ENTRY_POINT(glTexImage2D, "1.0"),
    GL_ENTRY_POINT(glTexParameterf, "1.0"),
    GL_ENTRY_POINT(glTexParameteri, "1.0"),
    GL_ENTRY_POINT(glViewport, "1.0"),
    GL_ENTRY_POINT(glBindTexture, "1.1"),
    GL_ENTRY_POINT(glDeleteTextures, "1.1"),
    GL_ENTRY_POINT(glDrawElements, "1.1"),
    GL_ENTRY_POINT(glGenTextures, "1.1"),
    GL_ENTRY_POINT(glActiveTexture, "1.3"),
    GL_ENTRY_POINT(glBindBuffer, "1.5"),
    GL_ENTRY_POINT(glBufferData, "1.5"),
    GL_ENTRY_POINT(glBufferSubData, "1.5"),
    GL_ENTRY_POINT(glDeleteBuffers, "1.5"),
    GL_ENTRY_POINT(glGenBuffers, "1.5"),
    GL_ENTRY_POINT(glAttachShader, "2.0"),
    GL_ENTRY_POINT(glCompileShader, "2.0"),
    GL_ENTRY_POINT(glCreateProgram, "2.0"),
    GL_ENTRY_POINT(glCreateShader, "2.0"),
    GL_ENTRY_POINT(glDeleteProgram, "2.0"),
    GL_ENTRY_POINT(glDeleteShader, "2.0"),
    GL_ENTRY_POINT(glEnableVertexAttribArray, "2.0"),
    GL_ENTRY_POINT(glGetAttribLocation, "2.0"),
    GL_ENTRY_POINT(glGetShaderInfoLog, "2.0"),
    GL_ENTRY_POINT(glGetShaderiv, "2.0"),
    GL_ENTRY_POINT(glGetUniformLocation, "2.0"),
    GL_ENTRY_POINT(glLinkProgram, "2.0"),
    GL_ENTRY_POINT(glShaderSource, "2.0"),
    GL_ENTRY_POINT(glUniform1f, "2.0"),
    GL_ENTRY_POINT(glUniform1i, "2.0"),
    GL_ENTRY_POINT(glUniform3fv, "2.0"),
    GL_ENTRY_POINT(glUniformMatrix4fv, "2.0"),
    GL_ENTRY_POINT(glUseProgram, "2.0"),
    GL_ENTRY_POINT(glVertexAttribPointer, "2.0"),
};

} // namespace

const GlEntryPoint* gl_required_entry_points(int* count)
{
    *count = static_cast<int>(sizeof entry_points / sizeof entry_points[0]);
    return entry_points;
}

const GlEntryPoint* first_missing_gl_entry_point()
{
    for (const GlEntryPoint& entry : entry_points) {
        if (!entry.loaded())
            return &entry;
    }
    return nullptr;
}

std::string gl_shortage_message(const char* driver_version, const GlEntryPoint& missing)
{
    std::string text = "OpenGL 2.0 is needed, but the driver offers ";
    text += driver_version ? std::string("OpenGL ") + driver_version : std::string("an unknown OpenGL version");
    // Names the first gap, for a driver that claims 2.0 and still lacks one.
    text += " (";
    text += missing.name;
    text += " of OpenGL ";
    text += missing.version;
    text += " is missing)";
    return text;
}

void require_gl_entry_points()
{
    const GlEntryPoint* missing = first_missing_gl_entry_point();
    if (!missing)
        return;
    const char* driver_version = nullptr;
    if (glad_glGetString)
        driver_version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    std::string text = gl_shortage_message(driver_version, *missing);
    platform::message_box(text.c_str(), "Debug", platform::MessageIcon::information);
    platform::exit_process(0); // runs glfwTerminate through the exit hook
}
