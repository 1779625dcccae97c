#include "app/frame_scheduler.h"

#include "snow/random.h"
#include "snow/scene_batches.h"
#include "snow/snowflake_batch.h"

static_assert(FrameScheduler::batch_count == scene_batch_count, "one scheduler entry per scene batch");

FrameScheduler::FrameScheduler(const FrameHooks& hooks, SnowflakeBatch* const* batches, int count)
    : hooks_(hooks), batches_(batches), count_(count)
{
}

void FrameScheduler::follow_batches(SnowflakeBatch* const* batches, int count)
{
    batches_ = batches;
    count_ = count;
}

std::uint32_t FrameScheduler::seed_for_time(double t)
{
    double scaled = t * 100000.0;
    // A clock cannot run backwards or past 2^32 / 100000 seconds (about 12
    // hours) in a saver's life, but an out-of-range conversion is undefined:
    // clamp rather than trust it.
    if (!(scaled >= 0.0))
        scaled = 0.0;
    if (scaled > 4294967295.0)
        scaled = 4294967295.0;
    return static_cast<std::uint32_t>(scaled) % 10000u;
}

void FrameScheduler::step()
{
    const double library_time = hooks_.read_clock();
    double t = clock_.scene_time(library_time);
    float time = static_cast<float>(t);

    if (state_ == Unseeded) {
        seed_random(seed_for_time(library_time));
        next_respawn_time_ = first_respawn_time;
        state_ = Running;
    }
    if (state_ == Running) {
        if (t >= static_cast<double>(next_respawn_time_))
            state_ = Respawn;
        else
            hooks_.draw_frame(time);
    }
    if (state_ == Respawn) {
        if (shift_clock_if_due(t)) {
            t = clock_.scene_time(library_time);
            time = static_cast<float>(t);
        }
        run_respawn_pass(time);
        next_respawn_time_ = time + respawn_period;
        state_ = Running;
        hooks_.draw_frame(time);
    }
}

bool FrameScheduler::shift_clock_if_due(double scene_time)
{
    const double moved = clock_.advance_if_due(scene_time);
    if (moved == 0.0)
        return false;
    for (int i = 0; i < count_; ++i)
        batches_[i]->shift_times(moved);
    upload_all_ = true;
    return true;
}

int FrameScheduler::run_respawn_pass(float now)
{
    int reuploaded = 0;
    for (int i = 0; i < count_; ++i) {
        batches_[i]->expire(now);
        if (batches_[i]->spawn(now, scene_batch_specs[i % batch_count].respawn_limit) == 1 || upload_all_) {
            hooks_.reupload(i);
            ++reuploaded;
        }
    }
    upload_all_ = false;
    return reuploaded;
}
