#include "app/renderer_settings.h"

#include "app/frame_pacer.h"
#include "app/multisample_fallback.h"
#include "app/software_renderer.h"
#include "platform/platform.h"
#include "render/scene.h"

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
    FramePacer::cap_frame_rate(software_frame_rate);
    scene.draws_only_what_shows = true;
    platform::note(software_renderer_note(name, samples > 0).c_str());
    return samples > 0;
}

bool software_renderer_found()
{
    return software;
}
