// Which slots of a particle batch can show anything in one frame. Every
// draw of a batch covers all its slots, and a GPU shades the free ones and
// those outside the view for next to nothing; a renderer on the processor
// pays for each of their vertices. Drawing only the slots found here leaves
// out nothing that shows.
#pragma once

#include <vector>

#include "render/matrix.h"

class SnowflakeBatch;

// Consecutive slots first_slot .. first_slot + slot_count - 1.
struct SlotRun {
    int first_slot;
    int slot_count;
};

// Replaces `runs` with the runs of slots of `batch` worth drawing at `time`
// (seconds on the clock of the particles' times) through `view_projection`
// (projection times view, the vertex shaders' `model_view`): live slots
// whose particle has not reached its finish time and whose mesh, placed
// where the particle is at `time` and turned any way, reaches into the view
// volume. A free slot holds nothing or a particle that has ended, and an
// ended particle is fully faded: a snowflake's fragments are transparent (it
// would still write depth, hiding nothing visible but the soft particles
// behind it), a soft particle's are all discarded. Runs come in slot order;
// neighbouring slots share one run.
void find_visible_slots(const SnowflakeBatch& batch, float time, const Mat4& view_projection,
                        std::vector<SlotRun>& runs);
