// What the window's callbacks do: any key or mouse button ends the process
// with exit code 0 at once, without the exit hook (the library may not be
// shut down from inside its own callback); pointer and wheel change nothing;
// library errors are shown with caption "Error", each text once.
#include "app/window_callbacks.h"
#include "platform/platform.h"
#include "render/drawable_size.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Stands in for the library's shutdown: if a callback ran it, the exit code
// would be 3 instead of 0.
void hook_that_must_not_run()
{
    std::_Exit(3);
}

TEST(InputCallbacks, AnyKeyEndsTheProcessWithZero)
{
    EXPECT_EXIT(
        {
            platform::set_exit_hook(hook_that_must_not_run);
            on_key(nullptr, 65 /* A */, 38, 1 /* press */, 0);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EXIT(on_key(nullptr, 256 /* Escape */, 9, 0 /* release */, 0), testing::ExitedWithCode(0), "");
    EXPECT_EXIT(on_key(nullptr, -1 /* unknown key */, 0, 2 /* repeat */, 4), testing::ExitedWithCode(0), "");
}

TEST(InputCallbacks, AnyMouseButtonEndsTheProcessWithZero)
{
    EXPECT_EXIT(
        {
            platform::set_exit_hook(hook_that_must_not_run);
            on_mouse_button(nullptr, 0, 1, 0);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EXIT(on_mouse_button(nullptr, 7, 0, 0), testing::ExitedWithCode(0), "");
}

TEST(InputCallbacks, PointerMovementAndWheelChangeNothing)
{
    on_framebuffer_size(nullptr, 640, 480);
    on_cursor_position(nullptr, 5000.0, -300.0);
    on_scroll(nullptr, 0.0, -12.0);
    on_scroll(nullptr, 3.0, 0.0);
    EXPECT_EQ(window_width, 640);
    EXPECT_EQ(window_height, 480);
    EXPECT_EQ(aspect_ratio, 640.0f / 480.0f);
}

TEST(ErrorCallback, ShowsLibraryDescriptionWithCaptionError)
{
    testing::internal::CaptureStderr();
    report_library_error(0x00010008, "X11: Failed to open display");
    report_library_error(0x00010001, nullptr);
    std::string shown = testing::internal::GetCapturedStderr();
    EXPECT_EQ(shown, "Error: X11: Failed to open display\nError: \n");
}

// A failed start makes the library report one error over and over: each
// text is shown once, the first time it comes.
TEST(ErrorCallback, EachTextIsShownOncePerRun)
{
    testing::internal::CaptureStderr();
    report_library_error(0x00010001, "The GLFW library is not initialized");
    report_library_error(0x00010001, "The GLFW library is not initialized");
    report_library_error(0x00010003, "Invalid window hint");
    report_library_error(0x00010001, "The GLFW library is not initialized");
    std::string shown = testing::internal::GetCapturedStderr();
    EXPECT_EQ(shown, "Error: The GLFW library is not initialized\nError: Invalid window hint\n");
}

} // namespace
