// Opening a GL window with four-sample multisampling where the driver has
// it, and without where it has not: some drivers (a remote desktop session,
// a virtual machine's) offer no multisampled pixel format at all, and the
// saver should still run there, only without antialiasing.
#pragma once

struct GLFWwindow;

// Calls `open(context)` once with the GLFW_SAMPLES hint at 4. When that
// gives null, sets the hint to 0 and calls it once more. The other current
// hints apply to both tries. Errors of the first try are expected on such a
// driver and not passed to the error callback; those of the second are.
// Returns the window, or null when neither try gave one; the GLFW_SAMPLES
// hint is left as the last try set it.
GLFWwindow* open_with_multisample_fallback(GLFWwindow* (*open)(void* context), void* context);
