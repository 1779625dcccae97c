// What the windowing library calls back into: the error box and the input
// handling of the display window. Any key or mouse-button event ends the
// process at once with exit code 0 (from inside glfwPollEvents, so no
// further frame is drawn); pointer movement and the wheel change nothing.
#pragma once

struct GLFWwindow;

// Shows the library's description of an error in an "Error" box, the first
// time that text comes in this run; a repeated text is not shown again.
// What the window system lacks (GLFW_FEATURE_UNAVAILABLE) is not shown.
void report_library_error(int code, const char* description);

// Stores the new drawable size (the framebuffer's, in pixels: on a Wayland
// output at scale 2 twice the window's size) and its aspect ratio in the
// view drawn into `window`.
void on_framebuffer_size(GLFWwindow* window, int width, int height);

void on_key(GLFWwindow* window, int key, int scancode, int action, int mods);
void on_mouse_button(GLFWwindow* window, int button, int action, int mods);
void on_cursor_position(GLFWwindow* window, double x, double y);
void on_scroll(GLFWwindow* window, double x_offset, double y_offset);

// Full-screen windows: notes a window restored from its icon, which the
// library makes take its monitor again (and, on Windows, ask that the
// display stays on).
void on_iconify(GLFWwindow* window, int iconified);

// True once after on_iconify noted a restore.
bool take_window_restored();
