// The slots worth drawing: live, not ended, and reaching into the view.
#include <vector>

#include <gtest/gtest.h>

#include "mesh_fixtures.h"
#include "render/matrix.h"
#include "snow/snowflake_batch.h"
#include "snow/visible_slots.h"

// The scene's camera: 50 degrees, square view, 20 units back.
TEST(VisibleSlots, LeavesOutFreeEndedAndOutOfViewSlotsAndFollowsTheMotion)
{
    SnowflakeBatch batch(make_square_mesh(), 7, ParticleKind::Flake);
    const Vec3 still{0, 0, 0};
    batch.place_particle(0, 0, 0, still, Vec3{1, 2, 3}, Vec3{0, 10, 0}, 0);
    batch.place_particle(2, 1, -5, still, still, Vec3{0, 10, 0}, 1);
    batch.place_particle(500, 0, 0, still, still, Vec3{0, 10, 0}, 2);  // far to the right
    batch.place_particle(0, 0, 0, still, still, Vec3{0, 1, 0}, 3);     // ended at 1 s
    // slot 4 stays free
    batch.place_particle(0, 100, 0, Vec3{0, -20, 0}, still, Vec3{0, 10, 0}, 5); // at the centre by 5 s
    // Its centre 1 unit past the left edge at z = 0 (9.3 units from the
    // middle): within the reach of its corners once it turns.
    batch.place_particle(-10.33f, 0, 0, still, still, Vec3{0, 10, 0}, 6);
    const Mat4 camera = perspective(50.0f, 1.0f, 0.1f, 1000.0f) * translate(0.0f, 0.0f, -20.0f);

    std::vector<SlotRun> runs{{9, 9}};
    find_visible_slots(batch, 5.0f, camera, runs);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].first_slot, 0);
    EXPECT_EQ(runs[0].slot_count, 2);
    EXPECT_EQ(runs[1].first_slot, 5);
    EXPECT_EQ(runs[1].slot_count, 2);

    // At 0 s slot 5 is still 100 units up, out of view.
    find_visible_slots(batch, 0.0f, camera, runs);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[1].first_slot, 3);
    EXPECT_EQ(runs[1].slot_count, 1);
    EXPECT_EQ(runs[2].first_slot, 6);
}
