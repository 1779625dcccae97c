// The OpenGL entry points the saver calls, in one list, and the start-up
// check that the driver offers every one of them. A system without a vendor
// driver (a remote desktop session, a virtual machine without 3D) may give
// only OpenGL 1.1; the loader then leaves the newer entry points empty, and
// calling one would crash. Every call to an OpenGL function in app/, render/
// and snow/ must have its entry here: a unit test compares the list with the
// sources.
#pragma once

#include <string>

// One entry point: its name as called in the code and the OpenGL version
// that made it part of the core ("1.0" to "2.0").
struct GlEntryPoint {
    const char* name;
    const char* version;
    bool (*loaded)(); // true when the loader found it
};

// The whole list, sorted by version, then by name; *count gets its length.
const GlEntryPoint* gl_required_entry_points(int* count);

// The first entry point of the list that the loader did not find, or null
// when every one is there. Needs the loader to have run.
const GlEntryPoint* first_missing_gl_entry_point();

// The text of the box shown when `missing` is absent: OpenGL 2.0 is needed,
// and the driver offers `driver_version` (its GL_VERSION string; null when
// it cannot be read).
std::string gl_shortage_message(const char* driver_version, const GlEntryPoint& missing);

// Ends the run when an entry point is missing: shows the shortage in a
// "Debug" box and ends the process with exit code 0 through the exit hook,
// as a window that cannot be opened does. Returns when all are there.
// Needs the window's context current and the loader to have run.
void require_gl_entry_points();
