// What the run does on its renderer, decided once from the display
// window's context: on a software renderer (app/software_renderer.h) no
// multisampling in any window, at most software_frame_rate frames a second,
// and only the particles that can show; on anything else what the saver
// always did.
#pragma once

// Judges the current context's renderer (GL_RENDERER, or the override
// variable's value). On a software renderer it turns multisampling down
// for every window opened from now on, notes one line saying so and
// returns true when the current window has samples and should be opened
// again. Needs the loader to have run. Call once.
bool settle_renderer_settings();

// True after settle_renderer_settings found a software renderer.
bool software_renderer_found();

// The frame rate to pace at on a display of `refresh_rate` Hz (0 where the
// system does not know it): the display's own on hardware, at most
// software_frame_rate on a software renderer.
int paced_frame_rate(int refresh_rate);
