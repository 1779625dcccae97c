// What the loop draws while nobody looks, what kind of run follows from a
// mode, and what a look at a monitor asks of its view: plain data in, a
// decision out. The watch runs on a clock and answers of the test's own.
#include "app/monitor_update.h"
#include "app/rest_watch.h"
#include "app/run_plan.h"

#include <gtest/gtest.h>

namespace {

bool dark = false;
bool battery = false;
bool never() { return false; }
bool is_dark() { return dark; }
bool is_on_battery() { return battery; }

} // namespace

TEST(DrawDecision, NothingWhileDarkOrUnwatchedThirtyAFrameOnBatteryOrInSoftware)
{
    EXPECT_TRUE(decide_drawing(RestState{}).draw);
    EXPECT_EQ(decide_drawing(RestState{}).frame_rate_cap, 0);
    EXPECT_FALSE(decide_drawing(RestState{true, false, false, false}).draw);
    EXPECT_FALSE(decide_drawing(RestState{false, true, false, false}).draw);
    EXPECT_EQ(decide_drawing(RestState{false, false, true, false}).frame_rate_cap, 30);
    EXPECT_EQ(decide_drawing(RestState{false, false, true, true}).frame_rate_cap, 30);
}

TEST(RestWatch, DisplaysGoingDarkStopTheDrawingWithinASecondAndLightResumesItAtOnce)
{
    dark = false;
    RestWatch watch(RestQueries{is_dark, never, never}, false);
    EXPECT_TRUE(watch.decide(0.0).draw);
    dark = true;
    EXPECT_FALSE(watch.decide(1.0).draw);
    dark = false;
    EXPECT_TRUE(watch.decide(1.25).draw);
}

TEST(RestWatch, PowerSourceIsFollowedWithinFiveSeconds)
{
    battery = true;
    RestWatch watch(RestQueries{never, never, is_on_battery}, false);
    EXPECT_EQ(watch.decide(0.0).frame_rate_cap, battery_frame_rate);
    battery = false;
    EXPECT_EQ(watch.decide(5.0).frame_rate_cap, 0);
}

TEST(RunPlan, FullScreenRunsRestAndCoverTheMonitorsPreviewsAndHacksDoNot)
{
    for (RunMode mode : {RunMode::Saver, RunMode::None}) {
        const RunPlan plan = plan_run(mode, false);
        EXPECT_TRUE(plan.covers_monitors && plan.rests && plan.input_ends_run);
        EXPECT_FALSE(plan.follows_host);
    }
    const RunPlan preview = plan_run(RunMode::Preview, false);
    EXPECT_TRUE(preview.follows_host && preview.input_ends_run);
    EXPECT_FALSE(preview.covers_monitors || preview.rests);
    const RunPlan hack_in_window = plan_run(RunMode::Preview, true);
    EXPECT_TRUE(hack_in_window.follows_host);
    EXPECT_FALSE(hack_in_window.input_ends_run || hack_in_window.rests);
    const RunPlan hack_own_window = plan_run(RunMode::None, true);
    EXPECT_FALSE(hack_own_window.covers_monitors || hack_own_window.rests || hack_own_window.input_ends_run);
}

TEST(MonitorUpdate, ANewRateAloneRepacesAMovedOrResizedMonitorIsRefitted)
{
    const Rect covered{0, 0, 800, 600};
    EXPECT_EQ(monitor_update(covered, 60, covered, 60), MonitorUpdate::none);
    EXPECT_EQ(monitor_update(covered, 60, covered, 75), MonitorUpdate::repace);
    EXPECT_EQ(monitor_update(covered, 60, Rect{0, 0, 1024, 768}, 60), MonitorUpdate::refit);
    EXPECT_EQ(monitor_update(covered, 60, Rect{800, 0, 800, 600}, 75), MonitorUpdate::refit);
    EXPECT_EQ(monitor_update(covered, 60, Rect{0, 0, 0, 0}, 0), MonitorUpdate::none) << "a monitor read mid-change";
}
