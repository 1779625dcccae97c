// Decides, once per displayed frame, whether a respawn pass runs before the
// frame is drawn. Every step draws exactly one frame. The clock and the
// drawing are handed in as plain functions, so the schedule can be driven by
// a test clock without a window.
#pragma once

#include <cstdint>

#include "app/scene_clock.h"

class SnowflakeBatch;

struct FrameHooks {
    double (*read_clock)();          // seconds since the windowing library started
    void (*draw_frame)(float time);  // draws one frame at `time` seconds of scene time
    void (*reupload)(int batch);     // sends what changed in batch `batch` (index into the list) to its buffer
};

class FrameScheduler {
public:
    enum State : std::int32_t { Unseeded = 0, Running = 1, Respawn = 2 };

    static constexpr int batch_count = 9;              // per monitor: 0..7 snowflakes, 8 soft particles
    static constexpr float first_respawn_time = 5.0f;  // seconds of scene time (library time for the first hour)
    static constexpr float respawn_period = 4.0f;      // seconds

    // `batches` holds `count` batches, batch_count per drawn monitor, each
    // monitor's in scene order (batch i is of kind i % batch_count), the
    // primary's first; they outlive this.
    FrameScheduler(const FrameHooks& hooks, SnowflakeBatch* const* batches, int count = batch_count);

    // From the next step on, the batches are `count` in `batches`, laid out
    // as above: monitors come and go.
    void follow_batches(SnowflakeBatch* const* batches, int count);

    // Reads the clock once; the first step seeds the random generator from
    // it; a due respawn pass runs before the frame is drawn. Everything
    // past the clock sees scene time (see SceneClock); a pass that finds it
    // past the threshold first moves the clock and every batch's times.
    void step();

    // Expire and spawn over all batches in list order (at most one new
    // snowflake per snowflake batch, twenty soft particles per soft-particle
    // batch), re-uploading a batch only when its spawn placed something.
    // Returns how many batches were re-uploaded.
    int run_respawn_pass(float now);

    State state() const { return state_; }
    float next_respawn_time() const { return next_respawn_time_; } // seconds of scene time
    const SceneClock& clock() const { return clock_; }

    // The seed of the first step at library time `t` seconds: t * 100000
    // truncated to an unsigned 32-bit integer, modulo 10000.
    static std::uint32_t seed_for_time(double t);

private:
    // Moves the clock on when `scene_time` (seconds) is due, with every
    // batch's times; true when it moved.
    bool shift_clock_if_due(double scene_time);

    FrameHooks hooks_;
    SnowflakeBatch* const* batches_;
    int count_;
    State state_ = Unseeded;
    float next_respawn_time_ = 0.0f; // seconds of scene time
    SceneClock clock_;
    bool upload_all_ = false;        // the clock moved: the pass sends every batch
};
