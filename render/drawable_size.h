// The drawable size of the display window, process-wide: written by the
// window set-up and the window-size callback, read by every frame for the
// viewport and the projection. Zero until the window size is chosen.
#pragma once

#include <cstdint>

extern std::int32_t window_width;  // pixels
extern std::int32_t window_height; // pixels
extern float aspect_ratio;         // window_width / window_height

// Stores a new size and recomputes aspect_ratio. A size with a zero (or
// negative) side, as a minimised window reports, keeps the last valid
// ratio, so a later frame never builds a projection from 0 or infinity;
// before any valid size the ratio is 1.
void set_drawable_size(std::int32_t width, std::int32_t height);

// The aspect ratio of a `width` x `height` pixel drawable, kept at
// `previous` (or 1 when that is still 0) while a side is zero or negative.
float aspect_ratio_of(std::int32_t width, std::int32_t height, float previous);
