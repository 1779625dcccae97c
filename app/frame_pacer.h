// Keeps each window's frames from coming faster than its display can show.
// Where the buffer swap waits for the vertical blank it paces the window
// already and this never holds a frame back; where it does not (a virtual
// machine without 3D, a remote session, an X server without vsync) the
// loop would otherwise draw as fast as it can and keep a core busy for
// frames nobody sees. Told when each swap begins and ends, it says when
// the window's next frame may begin. Input is still read every frame.
#pragma once

class FramePacer {
public:
    // Rate assumed when the library reports none (0) or a nonsense one:
    // most displays' rate.
    static constexpr int fallback_refresh_rate = 60; // Hz
    // Reported rates below this are not real: Windows reports 1 for "the
    // hardware's default", others 0 for unknown.
    static constexpr int lowest_refresh_rate = 20; // Hz
    // The deadlines run this much faster than the reported rate: rates are
    // reported as whole numbers, rounded or cut (a 59.94 Hz display may say
    // 59), and a cap below the real rate would make a vsynced loop sleep
    // and miss blanks. 2 % covers a whole hertz down to 50 Hz.
    static constexpr double margin = 1.02;
    // A swap that took at least this share of a period, as did the one
    // before it (or one of the trusted_swaps before it), waited for the
    // vertical blank: a swap that does not wait returns at once.
    static constexpr double waited_share = 0.25;
    // Swaps after one that waited during which a wait shorter than that
    // share is skipped: a frame that took nearly a whole period leaves its
    // swap little to wait, and sleeping then would miss the next blank.
    static constexpr int trusted_swaps = 8;

    // `refresh_rate` in Hz as the library reports it; `read_clock` gives
    // seconds, `sleep` sleeps the given seconds (a real sleep, no spinning).
    FramePacer(int refresh_rate, double (*read_clock)(), void (*sleep)(double seconds));

    // The rate a reported `refresh_rate` (Hz) is paced at.
    static int usable_rate(int refresh_rate);

    // From now on every pacer, as it is made or told a new rate, lets at
    // most `most` frames a second (Hz; 0 for no cap) through, and where that
    // is below its display's rate it holds each frame to its deadline even
    // where the swap waits for the blank. A software renderer's cap.
    static void cap_frame_rate(int most);

    // The window now shows on a display of `refresh_rate` Hz (reported).
    void set_refresh_rate(int refresh_rate);
    // The rate last reported through set_refresh_rate (Hz).
    int refresh_rate() const { return refresh_rate_; }

    // Called right before the swap; swap_ended right after it. A swap that
    // waited for the display lets the next frame begin at once. One that
    // returned at once holds the next frame until its deadline: deadlines
    // follow one another at `period`; a frame that is late starts a fresh
    // row from its own end. Without swap_begins a swap counts as one that
    // returned at once.
    void swap_begins();
    void swap_ended();

    // Seconds on read_clock's clock from which the next frame may begin.
    double next_frame_time() const { return next_frame_time_; }
    // True when the next frame may begin at `now` seconds.
    bool due(double now) const { return now >= next_frame_time_; }

    // swap_ended, then sleeps until the next frame may begin (for a loop
    // with one window).
    void wait_for_deadline();

    double period() const { return period_; } // seconds between deadlines

private:
    double (*read_clock_)();
    void (*sleep_)(double seconds);
    int refresh_rate_ = 0;         // Hz, as reported
    double period_ = 0.0;          // seconds
    double deadline_ = 0.0;        // seconds on read_clock_'s clock
    double next_frame_time_ = 0.0; // seconds on read_clock_'s clock
    double swap_began_ = -1.0;     // seconds, below 0 while no swap is under way
    double last_now_ = 0.0;        // seconds: the clock when the latest swap ended
    int swaps_since_wait_ = trusted_swaps; // swaps since the latest that may have waited
    bool held_to_cap_ = false;     // the cap, not the display, sets the period
    bool started_ = false;
};
