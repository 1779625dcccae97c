// Driving the real saver as a user would, shared by the end-to-end tests:
// xdotool for keys, buttons and the pointer, and the saver started as a
// given driver would run it. The including target defines VESPERINE_EXE.
#pragma once

#include "tests/foundation/child_process.h"

#include <string>
#include <vector>

// Runs xdotool with `args`; true when it ran and succeeded.
inline bool xdotool(const std::vector<std::string>& args)
{
    ChildProcess tool;
    if (!tool.start("/usr/bin/xdotool", args))
        return false;
    int code = -1;
    return tool.wait(20.0, &code) && code == 0;
}

// Starts the saver with `args`; with a `gl_version`, Mesa reports that OpenGL
// version instead of its own, as an older driver would.
inline bool start_saver(ChildProcess* saver, const std::vector<std::string>& args, const char* gl_version)
{
    if (!gl_version)
        return saver->start(VESPERINE_EXE, args);
    std::vector<std::string> env_args{std::string("MESA_GL_VERSION_OVERRIDE=") + gl_version, VESPERINE_EXE};
    env_args.insert(env_args.end(), args.begin(), args.end());
    return saver->start("/usr/bin/env", env_args); // env execs: the process id stays the saver's
}
