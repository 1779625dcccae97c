// Keeps the time the scene runs on small. The shaders' time and the
// particles' start and finish times are 32-bit floats of seconds, whose
// resolution falls as they grow (0.24 ms after an hour, 7.8 ms after a day):
// left alone, motion judders after a night and stops between frames after a
// few days. So the scene runs on the library's time minus an offset. The
// offset is 0 for the first hour; once the scene time reaches `threshold`,
// the offset moves forward by whole `step`s, and whoever holds scene times
// subtracts the same amount from them before the next frame is drawn.
// A pause (a stopped process, a machine that slept, a debugger) moves the
// offset too: the scene does not see the time it was not drawn, so the snow
// on screen before the pause goes on falling from where it was.
#pragma once

class SceneClock {
public:
    static constexpr double pi = 3.14159265358979323846;
    // Seconds of scene time from which the offset moves on.
    static constexpr float threshold = 3600.0f;
    // Seconds the offset moves at a time: 163 periods of the background's
    // sin(t / 2) (4 pi seconds each), rounded to float (2048.318359375, a
    // multiple of 2^-12). The sky's phase jumps by 2.5e-5 radians, far below
    // anything visible. Particle times near the threshold (live ones lie
    // within half a minute of it) are between step / 2 and 2 * step, where
    // subtracting the step is exact in float arithmetic; after a shift
    // every scene time stays below 4096 s, where a float still resolves
    // 0.24 ms.
    static constexpr float step = static_cast<float>(163.0 * 4.0 * pi);
    // Seconds of library time between two frames beyond which the time
    // between them counts as a pause rather than a slow frame (a weak
    // machine's slowest frames stay far below this).
    static constexpr double longest_frame = 5.0;
    // Seconds a pause counts for when no earlier interval was seen (it came
    // right after the first frame): one frame of a common display.
    static constexpr double first_frame_period = 1.0 / 60.0;

    // Scene time in seconds at `library_time` seconds of the library's clock.
    double scene_time(double library_time) const { return library_time - offset_; }

    // Seconds that library time and scene time are apart: whole steps plus
    // the pauses skipped.
    double offset() const { return offset_; }

    // Called with every frame's library time (seconds) before its scene
    // time is read. When more than `longest_frame` passed since the previous
    // frame, moves the offset on so that this frame's scene time is the
    // previous frame's plus one frame period (the interval between the two
    // frames before), and returns the seconds skipped; otherwise, and for
    // the first frame, returns 0 and leaves the offset alone. A clock that
    // runs backwards is left to itself.
    double skip_pause(double library_time);

    // When `scene_time` (seconds) has reached the threshold, moves the offset
    // on by as many steps as bring it below again (one after an ordinary
    // hour; more only where the scene time itself leapt) and returns the
    // seconds moved; otherwise returns 0.
    double advance_if_due(double scene_time);

private:
    double offset_ = 0.0;                      // seconds
    bool seen_frame_ = false;                  // skip_pause was called before
    double last_frame_ = 0.0;                  // seconds of library time: the previous frame's
    double frame_period_ = first_frame_period; // seconds: the last ordinary frame interval
};
