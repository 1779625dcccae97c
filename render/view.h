// One monitor's picture: the drawable it is drawn into and the nine
// particle batches only it shows, each with its GPU buffer. The programs,
// the snow texture and the background are the scene's and shared by every
// view. The window a view is drawn into is the app's business.
#pragma once

#include <cstdint>

#include "snow/scene_batches.h"

class BatchBuffer;
class SnowflakeBatch;

struct View {
    std::int32_t window_width = 0;  // pixels
    std::int32_t window_height = 0; // pixels
    float aspect_ratio = 0.0f;      // window_width / window_height; 0 until a size is set
    SnowflakeBatch* batches[scene_batch_count] = {};     // scene order: 0..7 snowflakes, 8 soft particles
    BatchBuffer* batch_buffers[scene_batch_count] = {};  // batch i's buffer
};

// Stores a new size and recomputes the ratio. A size with a zero (or
// negative) side, as a minimised window reports, keeps the last valid
// ratio, so a later frame never builds a projection from 0 or infinity;
// before any valid size the ratio is 1.
void set_view_size(View& view, std::int32_t width, std::int32_t height);

// The aspect ratio of a `width` x `height` pixel drawable, kept at
// `previous` (or 1 when that is still 0) while a side is zero or negative.
float aspect_ratio_of(std::int32_t width, std::int32_t height, float previous);
