#include "app/window_system_choice.h"

namespace {

bool full_screen_run(const WindowSystemFacts& facts)
{
    return !facts.hack && (facts.mode == RunMode::Saver || facts.mode == RunMode::None);
}

} // namespace

platform::WindowSystem choose_window_system(const WindowSystemFacts& facts)
{
    if (facts.library_chooses && facts.wayland_session && full_screen_run(facts))
        return platform::WindowSystem::wayland;
    return platform::WindowSystem::x11;
}

const char* x11_only_run_name(const WindowSystemFacts& facts)
{
    if (facts.hack)
        return "display mode";
    if (facts.mode == RunMode::Preview)
        return "the preview";
    if (facts.mode == RunMode::Configure)
        return "the About window";
    return "this build of the saver"; // its windowing library speaks X11 only
}
