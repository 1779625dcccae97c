// The scene clock over days of running: the scheduler driven by an injected
// 144 Hz clock through thirty days, and across a thirty-day jump (a machine
// resumed from sleep), which the scene skips. The scene time must stay small, every frame must
// advance the picture by its real interval, and the clock's moves must not
// shift any live particle along its path.
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "app/frame_scheduler.h"
#include "app/scene_clock.h"
#include "mesh_fixtures.h"
#include "snow/random.h"
#include "snow/scene_batches.h"
#include "snow/snowflake_batch.h"

namespace {

constexpr double frame_interval = 1.0 / 144.0; // seconds
constexpr double day = 86400.0;                // seconds
constexpr double allowed_step_error = 0.25e-3; // seconds

// The injected clock, and what the frames drawn so far showed: the scene
// time of the last frame with the clock's offset at that moment (their sum
// is where the particles stood), the library time it was drawn at, the
// worst deviation of a frame-to-frame step from the real interval and the
// largest scene time.
double clock_now = 0.0;
const FrameScheduler* watched = nullptr;
struct FrameWatch {
    bool have_previous = false;
    double previous_position = 0.0; // seconds: scene time plus offset
    double previous_library = 0.0;  // seconds
    double worst_step_error = 0.0;  // seconds
    double largest_scene_time = 0.0; // seconds
    long frames = 0;
} watch;

double read_test_clock() { return clock_now; }
void no_upload(int) {}

void watch_frame(float time)
{
    const double position = static_cast<double>(time) + watched->clock().offset();
    if (watch.have_previous) {
        const double error = std::abs((position - watch.previous_position) - (clock_now - watch.previous_library));
        watch.worst_step_error = std::max(watch.worst_step_error, error);
    }
    watch.have_previous = true;
    watch.previous_position = position;
    watch.previous_library = clock_now;
    watch.largest_scene_time = std::max(watch.largest_scene_time, static_cast<double>(time));
    ++watch.frames;
}

// Start and finish times (seconds) of every slot of one batch, and which were live.
struct SlotTimes {
    std::vector<float> start, finish;
    std::vector<bool> alive;
};

SlotTimes slot_times(const SnowflakeBatch& batch)
{
    SlotTimes t;
    const int per_slot = batch.mesh_vertex_count() * SnowflakeBatch::vertex_stride;
    for (int p = 0; p < batch.particle_count(); ++p) {
        t.start.push_back(batch.vertex_data()[p * per_slot + SnowflakeBatch::time_offset]);
        t.finish.push_back(batch.finish_time(p));
        t.alive.push_back(batch.is_alive(p));
    }
    return t;
}

class SceneClockRun : public testing::Test {
protected:
    void SetUp() override
    {
        clock_now = 0.0;
        watch = FrameWatch{};
        seed_random(1);
        for (int i = 0; i < scene_batch_count; ++i) {
            const BatchSpec& spec = scene_batch_specs[i];
            owned[i] = std::make_unique<SnowflakeBatch>(make_square_mesh(), spec.particle_count, spec.kind);
            batches[i] = owned[i].get();
            batches[i]->spawn(0.0f, spec.setup_limit);
        }
        scheduler = std::make_unique<FrameScheduler>(FrameHooks{read_test_clock, watch_frame, no_upload}, batches);
        watched = scheduler.get();
    }

    // One frame at library time `t` seconds. When it moves the clock, checks
    // that every particle live before and after kept its place on its path:
    // its start and finish moved by exactly what the clock moved, so
    // (time - start) and (finish - time) change by less than one unit in the
    // last place of the frame's time.
    void frame_at(double t)
    {
        clock_now = t;
        const double offset_before = scheduler->clock().offset();
        const double scene_time = t - offset_before;
        if (scene_time < SceneClock::threshold || scene_time < scheduler->next_respawn_time()) {
            // The common case, kept lean: hundreds of millions of frames.
            scheduler->step();
            stray_moves += scheduler->clock().offset() != offset_before;
            return;
        }
        std::vector<SlotTimes> before;
        for (int i = 0; i < scene_batch_count; ++i)
            before.push_back(slot_times(*batches[i]));
        scheduler->step();
        const double moved = scheduler->clock().offset() - offset_before;
        ASSERT_GT(moved, 0.0) << "a pass past the threshold left the clock, at " << t;
        ++shifts;
        const float now = static_cast<float>(t - scheduler->clock().offset());
        for (int i = 0; i < scene_batch_count; ++i) {
            const SlotTimes after = slot_times(*batches[i]);
            for (std::size_t p = 0; p < after.start.size(); ++p) {
                const bool kept = before[i].alive[p] && after.alive[p] && after.start[p] != now;
                if (!kept)
                    continue;
                ++particles_carried;
                ASSERT_EQ(static_cast<double>(after.start[p]), before[i].start[p] - moved) << "batch " << i;
                ASSERT_EQ(static_cast<double>(after.finish[p]), before[i].finish[p] - moved) << "batch " << i;
            }
        }
    }

    std::unique_ptr<SnowflakeBatch> owned[scene_batch_count];
    SnowflakeBatch* batches[scene_batch_count] = {};
    std::unique_ptr<FrameScheduler> scheduler;
    int shifts = 0;
    int stray_moves = 0; // clock moves outside a pass past the threshold
    long particles_carried = 0;
};

} // namespace

// The step is a whole number of the sky's 4 pi-second swings, to within
// far less than a visible phase change, and exactly representable around
// the threshold.
TEST(SceneClock, StepKeepsTheSkysPhaseAndIsExactAroundTheThreshold)
{
    const double swings = SceneClock::step / (4.0 * SceneClock::pi);
    EXPECT_LT(std::abs(0.5 * (SceneClock::step - std::round(swings) * 4.0 * SceneClock::pi)), 0.001);
    EXPECT_EQ(std::round(swings), 163.0);
    // Sterbenz: x - step is exact for x in [step / 2, 2 * step].
    EXPECT_LE(SceneClock::step / 2.0, SceneClock::threshold - 60.0);
    EXPECT_GE(2.0 * SceneClock::step, SceneClock::threshold + 60.0);
    EXPECT_LT(SceneClock::threshold + 60.0, 4096.0); // where a float still resolves 2^-12 s

    SceneClock clock;
    EXPECT_EQ(clock.advance_if_due(SceneClock::threshold - 0.001), 0.0);
    EXPECT_EQ(clock.scene_time(1000.0), 1000.0);
    EXPECT_EQ(clock.advance_if_due(SceneClock::threshold + 1.0), static_cast<double>(SceneClock::step));
    EXPECT_EQ(clock.scene_time(SceneClock::threshold + 1.0 + SceneClock::step),
              static_cast<double>(SceneClock::threshold) + 1.0);
}

// Thirty days on the clock: frames at 144 Hz through the first minute and
// for the 20 s around every clock move, one a second in between (a whole
// month at 144 Hz is 373 million frames, too slow for the sanitised
// build). The clock moves once every ~34 minutes; every pass schedules the
// next 4 s after itself, across the moves too; the scene time never
// reaches threshold + step; and no frame's step differs from the real
// interval by more than 0.25 ms.
TEST_F(SceneClockRun, ThirtyDaysStaySmoothAndSmall)
{
    const double end = 30.0 * day;
    const double dense_after_move = SceneClock::threshold - SceneClock::step + 12.0; // seconds of scene time
    double t = 0.25;
    frame_at(t); // seeds and schedules the first pass
    float previous_due = scheduler->next_respawn_time();
    int passes = 0, misplaced_passes = 0;
    long dense_frames = 0;
    while (t < end && !HasFatalFailure()) {
        const double scene_time = t - scheduler->clock().offset();
        const bool dense = t < 60.0 || scene_time > SceneClock::threshold - 8.0 ||
                           (scheduler->clock().offset() > 0.0 && scene_time < dense_after_move);
        t += dense ? frame_interval : 1.0;
        dense_frames += dense;
        frame_at(t);
        if (scheduler->next_respawn_time() != previous_due) {
            previous_due = scheduler->next_respawn_time();
            ++passes;
            const float pass_time = static_cast<float>(t - scheduler->clock().offset());
            misplaced_passes += previous_due != pass_time + FrameScheduler::respawn_period;
        }
    }
    EXPECT_GE(t, end);
    EXPECT_GT(dense_frames, 1200L * 20 * 144);
    EXPECT_LT(watch.largest_scene_time, SceneClock::threshold + SceneClock::step);
    EXPECT_LE(watch.worst_step_error, allowed_step_error);
    EXPECT_GT(shifts, 1200); // 30 days / 2048.3 s
    EXPECT_EQ(stray_moves, 0);
    EXPECT_GT(particles_carried, 1000);
    EXPECT_GT(passes, 500000); // 30 days / 4 to 5 s
    EXPECT_EQ(misplaced_passes, 0);
}

// A frame more than five seconds after the one before is a pause: the
// scene goes on one frame interval after the last frame; a slow frame just
// under five seconds is no pause, and the first frame skips nothing.
TEST(SceneClock, SkipsOnlyGapsLongerThanFiveSeconds)
{
    SceneClock clock;
    EXPECT_EQ(clock.skip_pause(7.0), 0.0); // the first frame, late as it is
    EXPECT_EQ(clock.skip_pause(7.25), 0.0);
    EXPECT_EQ(clock.skip_pause(12.2), 0.0); // 4.95 s: a slow frame
    EXPECT_EQ(clock.scene_time(12.2), 12.2);
    EXPECT_EQ(clock.skip_pause(12.2 + 4.0 * 3600.0), 4.0 * 3600.0 - 4.95);
    EXPECT_NEAR(clock.scene_time(12.2 + 4.0 * 3600.0), 12.2 + 4.95, 1e-9);
    EXPECT_EQ(clock.skip_pause(12.2 + 4.0 * 3600.0 + 0.01), 0.0);
}

// A thirty-day jump of the library clock (a machine resumed from sleep) is
// skipped: the next frame's scene time is one frame interval on, every
// particle is still there with its own times, the clock never moves by
// whole steps for it, and passes go on 4 s apart in scene time.
TEST_F(SceneClockRun, ThirtyDayJumpIsSkipped)
{
    double t = 0.25;
    for (; t < 60.0; t += frame_interval)
        frame_at(t);
    const double scene_before = t - frame_interval - scheduler->clock().offset();
    std::vector<SlotTimes> before;
    for (int i = 0; i < scene_batch_count; ++i)
        before.push_back(slot_times(*batches[i]));
    const float due = scheduler->next_respawn_time();

    t += 30.0 * day;
    clock_now = t;
    scheduler->step();
    EXPECT_NEAR(t - scheduler->clock().offset(), scene_before + frame_interval, 1e-6);
    for (int i = 0; i < scene_batch_count; ++i) {
        const SlotTimes after = slot_times(*batches[i]);
        EXPECT_EQ(after.start, before[i].start) << "batch " << i;
        EXPECT_EQ(after.alive, before[i].alive) << "batch " << i;
    }
    EXPECT_EQ(scheduler->next_respawn_time(), due);

    float previous_due = due;
    int passes = 0;
    for (int n = 1; n <= 144 * 60; ++n) {
        frame_at(t + n * frame_interval);
        if (scheduler->next_respawn_time() != previous_due) {
            const float pass_time = static_cast<float>(t + n * frame_interval - scheduler->clock().offset());
            EXPECT_EQ(scheduler->next_respawn_time(), pass_time + FrameScheduler::respawn_period);
            EXPECT_GE(pass_time, previous_due);
            previous_due = scheduler->next_respawn_time();
            ++passes;
        }
    }
    EXPECT_GE(passes, 14); // a minute of 4 s passes, each a little late
    EXPECT_LE(passes, 15);
    EXPECT_EQ(shifts, 0);
    EXPECT_EQ(stray_moves, 0);
    EXPECT_LE(watch.worst_step_error, allowed_step_error);
    EXPECT_LT(watch.largest_scene_time, 130.0);
}
