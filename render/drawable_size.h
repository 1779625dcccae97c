// The primary monitor's view, process-wide: the first view of a run and
// the one draw_frame draws. Its drawable size is written by the window
// set-up and the window-size callback, and read under the names below by
// whoever knows only the one display window. Zero until the size is chosen.
#pragma once

#include <cstdint>

#include "render/view.h"

extern View primary_view;

extern std::int32_t& window_width;  // pixels: primary_view.window_width
extern std::int32_t& window_height; // pixels: primary_view.window_height
extern float& aspect_ratio;         // primary_view.aspect_ratio

// set_view_size for the primary view.
void set_drawable_size(std::int32_t width, std::int32_t height);
