// Inside the POSIX family only: something of the platform's own that must
// happen on the way out, however the process ends (the exit paths here end
// with _exit, which runs no atexit handler).
#pragma once

namespace platform {

// `step` runs as the process ends through exit_process (after the exit
// hook) or end_process_now. One step; a later call replaces it.
void set_end_step(void (*step)());

} // namespace platform
