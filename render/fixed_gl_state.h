// The GL state the scene's drawing relies on and never changes: depth test
// with less-or-equal, alpha blending, multisampling and smoothing. It belongs
// to a context, so every window's context gets it once, before its first
// frame.
#pragma once

void set_fixed_gl_state();
