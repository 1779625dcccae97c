// Which window system a Linux run draws with.
#include "app/window_system_choice.h"

#include <gtest/gtest.h>

namespace {

using platform::WindowSystem;

WindowSystemFacts facts(bool hack, RunMode mode, bool library_chooses, bool wayland_session)
{
    WindowSystemFacts f;
    f.hack = hack;
    f.mode = mode;
    f.library_chooses = library_chooses;
    f.wayland_session = wayland_session;
    return f;
}

TEST(WindowSystemChoice, FullScreenRunsInAWaylandSessionDrawThereNatively)
{
    EXPECT_EQ(choose_window_system(facts(false, RunMode::Saver, true, true)), WindowSystem::wayland);
    EXPECT_EQ(choose_window_system(facts(false, RunMode::None, true, true)), WindowSystem::wayland);
}

TEST(WindowSystemChoice, WhatNeedsX11StaysOnX11)
{
    EXPECT_EQ(choose_window_system(facts(false, RunMode::Preview, true, true)), WindowSystem::x11);
    EXPECT_EQ(choose_window_system(facts(false, RunMode::Configure, true, true)), WindowSystem::x11);
    EXPECT_EQ(choose_window_system(facts(true, RunMode::None, true, true)), WindowSystem::x11);
}

TEST(WindowSystemChoice, NoWaylandSessionOrALibraryThatCannotChooseMeansX11)
{
    EXPECT_EQ(choose_window_system(facts(false, RunMode::Saver, true, false)), WindowSystem::x11);
    EXPECT_EQ(choose_window_system(facts(false, RunMode::Saver, false, true)), WindowSystem::x11);
}

} // namespace
