// The list of views behind app/monitor_windows.h, shared by the code that
// opens and draws them (app/monitor_windows.cpp) and the code that follows
// the monitors as they change (app/monitor_changes.cpp).
#pragma once

#include "app/frame_pacer.h"
#include "app/monitor_update.h"
#include "platform/platform.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <string>
#include <vector>

class SnowflakeBatch;
struct View;

// Seconds between two looks at the monitors' rectangles: the library
// reports monitors that come and go, but not one that moves or changes its
// mode.
constexpr double look_period = 0.25;

// One window and the view drawn in it.
struct MonitorView {
    GLFWwindow* window = nullptr;
    GLFWmonitor* monitor = nullptr; // the monitor covered; null for a preview's or a hack's window
    bool monitor_gone = false;      // the monitor was disconnected: the view goes
    Rect covered;                   // the monitor's rectangle the window was made for
    View* view = nullptr;           // primary_view for the display window, owned otherwise
    FramePacer pacer{0, glfwGetTime, platform::sleep_seconds};
};

struct MonitorViews {
    std::vector<MonitorView> list;            // the display window's first
    std::vector<SnowflakeBatch*> every_batch; // nine per view, in list order
    std::string last_error;                   // the library's latest complaint while opening one
    std::vector<GLFWmonitor*> left_out;       // monitors whose window could not be made: not tried again
    // The last window left once every monitor went, hidden: its context
    // keeps the shared GL objects alive for the views of monitors to come.
    GLFWwindow* keeper = nullptr;
    bool monitors_changed = false; // the library reported a monitor connected or disconnected
    double next_look = 0.0;        // seconds of library time
};

extern MonitorViews monitor_views;

// `monitor`'s rectangle on the virtual desktop at its current mode.
Rect rect_of(GLFWmonitor* monitor);

// Lists every view's batches again, after the list changed.
void list_every_batch();

// Sets the hints (and the attributes of the windows open) that several
// full-screen windows at once need.
void hint_one_of_several();

// A view of its own on `monitor`, its window sharing `share`'s objects, at
// the end of the list, its context current; false (with a note) when the
// window cannot be made. Its batches are the caller's to set up.
bool open_view_on(GLFWmonitor* monitor, GLFWwindow* share);

// True when some view covers `monitor`.
bool has_view(GLFWmonitor* monitor);
