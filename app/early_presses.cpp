#include "app/early_presses.h"

#include "platform/platform.h"

void watch_presses_from_start(RunMode mode)
{
    // Where the system has no such input (Wayland has none by design), the
    // window's callbacks still end the run once it has the focus.
    if ((mode == RunMode::Saver || mode == RunMode::None) &&
        platform::window_system() != platform::WindowSystem::wayland)
        platform::watch_presses();
}

void end_on_noted_press()
{
    if (platform::press_noted())
        platform::end_process_now(0);
}
