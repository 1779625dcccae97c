// The frame loop's pacing, on a simulated clock: the loop's own work and
// the swap advance it by chosen amounts, and the pacer's sleeps advance it
// by what they ask for.
#include "app/frame_pacer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

double now = 0.0;           // seconds
std::vector<double> sleeps; // seconds asked for, in order

double read_clock() { return now; }
void record_sleep(double seconds)
{
    sleeps.push_back(seconds);
    now += seconds;
}

// Runs frames that each take `frame_cost` seconds of drawing and swapping
// for `duration` seconds; returns how many were drawn.
int frames_in(FramePacer& pacer, double frame_cost, double duration)
{
    const double end = now + duration;
    int frames = 0;
    while (now < end) {
        now += frame_cost;
        ++frames;
        pacer.wait_for_deadline();
    }
    return frames;
}

// A display that shows a swapped frame at its next vertical blank, the
// swap returning then. The blanks come every `period` seconds, each
// interval off by up to `jitter` either way.
struct VsyncedDisplay {
    double period;      // seconds
    double jitter;      // seconds
    double blank = 0.01; // seconds: the next blank, after the first frame's drawing
    unsigned state = 1; // a small generator of its own, for repeatable runs
    int blanks = 0;     // blanks passed

    double wobble(double most) // -most .. most
    {
        state = state * 1103515245u + 12345u;
        return most * (static_cast<double>(state >> 8) / 8388608.0 - 1.0);
    }

    // A swap at `now`: the time it returns.
    double swap(double t)
    {
        while (blank < t) {
            blank += period + wobble(jitter);
            ++blanks;
        }
        ++blanks;
        const double shown = blank;
        blank += period + wobble(jitter);
        return shown;
    }
};

// Windows' Sleep: it wakes at the first tick of 15.6 ms after the time asked.
void coarse_sleep(double seconds)
{
    sleeps.push_back(seconds);
    constexpr double tick = 0.015625;
    now = std::ceil((now + seconds) / tick) * tick;
}

// Refreshes of `display` that showed no new frame in `duration` seconds of
// frames drawn in 2..6 ms.
int missed_refreshes(FramePacer& pacer, VsyncedDisplay& display, double duration)
{
    int frames = 0;
    while (now < duration) {
        now += 0.004 + display.wobble(0.002);
        pacer.swap_begins();
        now = display.swap(now);
        ++frames;
        pacer.wait_for_deadline();
    }
    return display.blanks - frames;
}

class FramePacerTest : public testing::Test {
protected:
    void SetUp() override
    {
        now = 0.0;
        sleeps.clear();
    }
};

} // namespace

// A swap that does not wait (Xvfb, reporting rate 0): ten seconds of cheap
// frames come out at the assumed 60 Hz (plus the margin), each early frame
// sleeping the rest of its period.
TEST_F(FramePacerTest, UnknownRateCapsCheapFramesAtSixtyHertz)
{
    FramePacer pacer(0, read_clock, record_sleep);
    EXPECT_DOUBLE_EQ(pacer.period(), 1.0 / (60 * FramePacer::margin));
    const int frames = frames_in(pacer, 0.001, 10.0);
    EXPECT_LE(frames, 60 * 10 * 105 / 100);
    EXPECT_GE(frames, 60 * 10);
    ASSERT_FALSE(sleeps.empty());
    for (double s : sleeps)
        EXPECT_NEAR(s, pacer.period() - 0.001, 1e-9);
}

// A swap that waits for the vertical blank already takes a whole period:
// nothing sleeps, also where the reported rate was cut from 59.94 to 59.
TEST_F(FramePacerTest, VsyncedLoopNeverSleeps)
{
    FramePacer at_144(144, read_clock, record_sleep);
    EXPECT_EQ(frames_in(at_144, 1.0 / 144.0, 5.0), 720);
    FramePacer cut_rate(59, read_clock, record_sleep);
    frames_in(cut_rate, 1.0 / 59.94, 5.0);
    EXPECT_TRUE(sleeps.empty());
}

// A slow frame does not earn a burst of unpaced ones afterwards: the row
// of deadlines starts again from its end.
TEST_F(FramePacerTest, SlowFrameStartsAFreshRowOfDeadlines)
{
    FramePacer pacer(60, read_clock, record_sleep);
    frames_in(pacer, 0.002, 1.0);
    now += 0.2; // one frame takes 200 ms
    pacer.wait_for_deadline();
    const std::size_t before = sleeps.size();
    const double start = now;
    now += 0.002;
    pacer.wait_for_deadline();
    ASSERT_EQ(sleeps.size(), before + 1);
    EXPECT_NEAR(now - start, pacer.period(), 1e-9);
}

// Windows reports 1 Hz for "the hardware's default" and drivers 0 or other
// nonsense: such rates pace at 60 Hz, a real one at its own.
TEST_F(FramePacerTest, RatesBelowTwentyHertzCountAsUnknown)
{
    for (int reported : {1, 0, -3, 19}) {
        FramePacer pacer(reported, read_clock, record_sleep);
        EXPECT_DOUBLE_EQ(pacer.period(), 1.0 / (60 * FramePacer::margin)) << reported;
    }
    FramePacer pacer(1, read_clock, record_sleep);
    EXPECT_GE(frames_in(pacer, 0.001, 10.0), 600);
    pacer.set_refresh_rate(20);
    EXPECT_DOUBLE_EQ(pacer.period(), 1.0 / (20 * FramePacer::margin));
}

// A swap that waits for a blank whose intervals jitter: no refresh goes
// without a new frame, with exact sleeps and with Windows' coarse ones.
TEST_F(FramePacerTest, VsyncWithJitterMissesNoRefresh)
{
    VsyncedDisplay exact{1.0 / 60.0, 0.0005};
    FramePacer pacer(60, read_clock, record_sleep);
    EXPECT_EQ(missed_refreshes(pacer, exact, 60.0), 0);
    EXPECT_TRUE(sleeps.empty());
    now = 0.0;
    VsyncedDisplay display{1.0 / 59.94, 0.0005};
    FramePacer coarse(59, read_clock, coarse_sleep);
    EXPECT_EQ(missed_refreshes(coarse, display, 60.0), 0);
    // Frames of 2..6 ms leave a 144 Hz swap little to wait.
    now = 0.0;
    VsyncedDisplay fast{1.0 / 144.0, 0.0002};
    FramePacer fast_pacer(144, read_clock, coarse_sleep);
    EXPECT_EQ(missed_refreshes(fast_pacer, fast, 60.0), 0);
}

// Two windows in one loop whose swaps do not wait: each is paced by its own
// monitor, 60 Hz on the primary and 144 Hz on the second.
TEST_F(FramePacerTest, EachWindowFollowsItsOwnMonitorsRate)
{
    FramePacer pacers[2] = {{60, read_clock, record_sleep}, {144, read_clock, record_sleep}};
    int frames[2] = {0, 0};
    while (now < 10.0) {
        for (int i = 0; i < 2; ++i) {
            if (!pacers[i].due(now))
                continue;
            now += 0.0005; // drawing
            pacers[i].swap_begins();
            pacers[i].swap_ended();
            ++frames[i];
        }
        record_sleep(std::max(0.0, std::min(pacers[0].next_frame_time(), pacers[1].next_frame_time()) - now));
    }
    EXPECT_NEAR(frames[0], 600 * FramePacer::margin, 6);
    EXPECT_NEAR(frames[1], 1440 * FramePacer::margin, 15);
}

// Without vsync, long swaps are no display waiting: neither one that a busy
// machine stalls now and then, nor every one of a renderer that draws inside
// the swap (llvmpipe, 7 to 15 ms) lets the loop outrun the display's rate.
TEST_F(FramePacerTest, LongSwapsWithoutVsyncKeepTheCap)
{
    VsyncedDisplay dice{0.0, 0.0}; // only its generator
    for (bool draws_in_swap : {false, true}) {
        FramePacer pacer(60, read_clock, record_sleep);
        now = 0.0;
        int frames = 0;
        while (now < 10.0) {
            now += 0.001;
            pacer.swap_begins();
            if (draws_in_swap)
                now += 0.011 + 0.004 * dice.wobble(1.0);
            else
                now += dice.wobble(1.0) > 0.8 ? 0.006 : 0.0002; // one swap in ten stalls
            ++frames;
            pacer.wait_for_deadline();
        }
        EXPECT_LE(frames, 600 * 105 / 100) << draws_in_swap;
        EXPECT_GE(frames, 600) << draws_in_swap;
    }
}

// A software renderer's cap of 30 frames a second on a 60 Hz display whose
// swap waits for the blank: the swap alone would let 60 through; the cap
// holds each frame to its deadline instead. Pacers made afterwards are free.
TEST_F(FramePacerTest, CapBelowTheDisplaysRateHoldsFramesWhereTheSwapWaits)
{
    FramePacer::cap_frame_rate(30);
    FramePacer pacer(60, read_clock, record_sleep);
    FramePacer::cap_frame_rate(0);
    EXPECT_DOUBLE_EQ(pacer.period(), 1.0 / 30);
    VsyncedDisplay display{1.0 / 60, 0.0};
    const int missed = missed_refreshes(pacer, display, 10.0);
    EXPECT_GE(missed, 10 * 60 - 10 * 30 * 105 / 100) << "at most 30 frames a second plus 5 %";
    EXPECT_LE(missed, 10 * 60 - 10 * 30 * 95 / 100) << "and not much fewer";
    EXPECT_DOUBLE_EQ(FramePacer(60, read_clock, record_sleep).period(), 1.0 / (60 * FramePacer::margin));
}
