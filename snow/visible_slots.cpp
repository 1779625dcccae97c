#include "snow/visible_slots.h"

#include <cmath>

#include "snow/snowflake_batch.h"

namespace {

// A plane a x + b y + c z + d = 0 with a unit normal pointing into the view.
struct Plane {
    float a, b, c, d;
};

// The six planes of the view volume of `m` (clip space -w..w on each axis):
// row 3 plus or minus rows 0, 1 and 2.
void view_planes(const Mat4& m, Plane* planes)
{
    for (int axis = 0; axis < 3; ++axis) {
        for (int side = 0; side < 2; ++side) {
            const float sign = side == 0 ? 1.0f : -1.0f;
            Plane p{m[0][3] + sign * m[0][axis], m[1][3] + sign * m[1][axis], m[2][3] + sign * m[2][axis],
                    m[3][3] + sign * m[3][axis]};
            const float length = std::sqrt(p.a * p.a + p.b * p.b + p.c * p.c);
            planes[axis * 2 + side] = Plane{p.a / length, p.b / length, p.c / length, p.d / length};
        }
    }
}

} // namespace

void find_visible_slots(const SnowflakeBatch& batch, float time, const Mat4& view_projection,
                        std::vector<SlotRun>& runs)
{
    runs.clear();
    Plane planes[6];
    view_planes(view_projection, planes);
    // A little more than the mesh, for the shaders' own rounding.
    const float radius = batch.mesh_radius() * 1.01f + 0.01f;
    const float* vertices = batch.vertex_data();
    const int slot_floats = batch.mesh_vertex_count() * SnowflakeBatch::vertex_stride;
    for (int slot = 0; slot < batch.particle_count(); ++slot) {
        if (!batch.is_alive(slot))
            continue;
        // Every vertex of the slot holds the particle's parameters; the first one's serve.
        const float* v = vertices + static_cast<long>(slot) * slot_floats;
        const float* start = v + SnowflakeBatch::translation_offset;
        const float* move = v + SnowflakeBatch::move_direction_offset;
        const float started = v[SnowflakeBatch::time_offset];
        const float finish = v[SnowflakeBatch::time_offset + 1];
        if (time >= finish)
            continue;
        const float passed = time - started; // seconds
        const float x = start[0] + move[0] * passed;
        const float y = start[1] + move[1] * passed;
        const float z = start[2] + move[2] * passed;
        bool inside = true;
        for (const Plane& p : planes)
            inside = inside && p.a * x + p.b * y + p.c * z + p.d >= -radius;
        if (!inside)
            continue;
        if (!runs.empty() && runs.back().first_slot + runs.back().slot_count == slot)
            ++runs.back().slot_count;
        else
            runs.push_back(SlotRun{slot, 1});
    }
}
