// Keeps the frame loop from drawing faster than the display can show.
// Where the buffer swap waits for the vertical blank it paces the loop
// already and this never sleeps; where it does not (a virtual machine
// without 3D, a remote session, an X server without vsync) the loop would
// otherwise draw as fast as it can and keep a core busy for frames nobody
// sees. Called once per frame after the swap: a frame that comes back
// before its deadline sleeps until it. Input is still read every frame.
#pragma once

class FramePacer {
public:
    // Rate assumed when the library reports none (0): most displays' rate.
    static constexpr int fallback_refresh_rate = 60; // Hz
    // The deadlines run this much faster than the reported rate: rates are
    // reported as whole numbers, rounded or cut (a 59.94 Hz display may say
    // 59), and a cap below the real rate would make a vsynced loop sleep
    // and miss blanks. 2 % covers a whole hertz down to 50 Hz.
    static constexpr double margin = 1.02;

    // `refresh_rate` in Hz as the library reports it; `read_clock` gives
    // seconds, `sleep` sleeps the given seconds (a real sleep, no spinning).
    FramePacer(int refresh_rate, double (*read_clock)(), void (*sleep)(double seconds));

    // Sleeps until this frame's deadline if it has not passed. Deadlines
    // follow one another at `period`; a frame that is late (or that the
    // swap already held back) starts a fresh row from its own end.
    void wait_for_deadline();

    double period() const { return period_; } // seconds between deadlines

private:
    double (*read_clock_)();
    void (*sleep_)(double seconds);
    double period_ = 0.0;    // seconds
    double deadline_ = 0.0;  // seconds on read_clock_'s clock
    bool started_ = false;
};
