// Stop signals: the handler only notes the signal, because nearly nothing
// (no X, no GL, no allocation) may be called from inside one. The frame
// loop reads the note once per frame and ends the run with exit code 0.
#include "platform/platform.h"

#include <csignal>
#include <signal.h>

namespace platform {

namespace {

volatile std::sig_atomic_t stop_signal = 0; // the last stop signal's number, 0 before any

void note_stop_signal(int number)
{
    stop_signal = number;
}

} // namespace

void catch_stop_signals()
{
    struct sigaction action = {};
    action.sa_handler = note_stop_signal;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls resume: the next frame sees the note anyway.
    action.sa_flags = SA_RESTART;
    const int numbers[] = {SIGTERM, SIGINT, SIGHUP};
    for (int number : numbers)
        sigaction(number, &action, nullptr);
}

bool stop_requested()
{
    return stop_signal != 0;
}

void ignore_locker_signals()
{
    struct sigaction action = {};
    action.sa_handler = SIG_IGN;
    sigemptyset(&action.sa_mask);
    sigaction(SIGUSR1, &action, nullptr);
}

} // namespace platform
