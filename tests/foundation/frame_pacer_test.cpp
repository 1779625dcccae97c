// The frame loop's pacing, on a simulated clock: the loop's own work and
// the swap advance it by chosen amounts, and the pacer's sleeps advance it
// by what they ask for.
#include "app/frame_pacer.h"

#include <gtest/gtest.h>

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
