// What kind of run this is, decided once at start from the run mode and
// hack mode, and read by the set-up and the frame loop instead of asking
// the mode again at every turn.
#pragma once

#include "app/launch_options.h"

struct RunPlan {
    bool covers_monitors = false; // full screen on every monitor, following them as they change
    bool input_ends_run = true;   // a key, a button or Escape ends it (a daemon decides for a hack)
    bool follows_host = false;    // preview: drawn inside the host, ended when it goes
    bool rests = false;           // draws nothing while nobody can see it; leaves the display's rest alone
};

// Saver and None runs cover the monitors and rest; a preview follows its
// host, as does a hack (`hack` true) drawing into its daemon's window
// (hack mode runs that as Preview); a hack ends only when the daemon says.
// Configure runs draw nothing: every field false but input_ends_run.
RunPlan plan_run(RunMode mode, bool hack);
