// What the run does on its renderer, decided once from the display
// window's context: on a software renderer (app/software_renderer.h) no
// multisampling in any window, at most software_frame_rate frames a second,
// and only the particles that can show; on anything else what the saver
// always did.
#pragma once

// Judges the current context's renderer (GL_RENDERER, or the override
// variable's value). On a software renderer it turns multisampling down
// for every window opened from now on, caps every frame pacer made or
// re-rated from now on at software_frame_rate, has the scene draw only
// what can show, notes one line saying so, and returns true when the
// current window has samples and should be opened again. Needs the loader
// to have run. Call once, before the first view's pacer is set.
bool settle_renderer_settings();

// True after settle_renderer_settings found a software renderer.
bool software_renderer_found();
