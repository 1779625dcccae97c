#include "app/renderer_settings.h"

#include "app/multisample_fallback.h"
#include "app/software_renderer.h"
#include "platform/platform.h"

#include <glad/gl.h>

#include <cstdlib>
#include <string>

namespace {
bool software = false;
}

bool settle_renderer_settings()
{
    const char* name = std::getenv(renderer_override_variable);
    if (!name)
        name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    software = is_software_renderer(name);
    if (!software)
        return false;
    GLint samples = 0;
    glGetIntegerv(GL_SAMPLES, &samples);
    turn_down_multisampling();
    platform::note(software_renderer_note(name, samples > 0).c_str());
    return samples > 0;
}

bool software_renderer_found()
{
    return software;
}

int paced_frame_rate(int refresh_rate)
{
    if (!software)
        return refresh_rate;
    return refresh_rate > 0 && refresh_rate < software_frame_rate ? refresh_rate : software_frame_rate;
}
