// Opening a GL window with four-sample multisampling where the driver has
// it, and without where it has not: some drivers (a remote desktop session,
// a virtual machine's) offer no multisampled pixel format at all, and the
// saver should still run there, only without antialiasing. Where OpenGL is
// a software renderer, four samples cost about four times the pixels on the
// processor: the saver turns them down once and every later window of the
// run opens without.
#pragma once

struct GLFWwindow;

// Calls `open(context)` once with the GLFW_SAMPLES hint at 4. When that
// gives null, sets the hint to 0 and calls it once more. The other current
// hints apply to both tries. Errors of the first try are expected on such a
// driver and not passed to the error callback; those of the second are.
// After turn_down_multisampling only the second try is made. Returns the
// window, or null when no try gave one; the GLFW_SAMPLES hint is left as the
// last try set it.
GLFWwindow* open_with_multisample_fallback(GLFWwindow* (*open)(void* context), void* context);

// From now on every window opens without samples.
void turn_down_multisampling();
