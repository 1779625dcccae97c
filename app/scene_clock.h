// Keeps the time the scene runs on small. The shaders' time and the
// particles' start and finish times are 32-bit floats of seconds, whose
// resolution falls as they grow (0.24 ms after an hour, 7.8 ms after a day):
// left alone, motion judders after a night and stops between frames after a
// few days. So the scene runs on the library's time minus an offset. The
// offset is 0 for the first hour; once the scene time reaches `threshold`,
// the offset moves forward by whole `step`s, and whoever holds scene times
// subtracts the same amount from them before the next frame is drawn.
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

    // Scene time in seconds at `library_time` seconds of the library's clock.
    double scene_time(double library_time) const { return library_time - offset_; }

    // Seconds that library time and scene time are apart: a whole number of steps.
    double offset() const { return offset_; }

    // When `scene_time` (seconds) has reached the threshold, moves the offset
    // on by as many steps as bring it below again (one after an ordinary
    // hour, many after the clock jumped, a machine resumed from sleep) and
    // returns the seconds moved; otherwise returns 0.
    double advance_if_due(double scene_time);

private:
    double offset_ = 0.0; // seconds, a whole number of steps
};
