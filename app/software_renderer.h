// Telling a renderer that draws on the processor from a GPU by the name
// the driver gives it (GL_RENDERER), and what the saver turns down there.
// Where OpenGL is software (a virtual machine without 3D, a remote session,
// a server), every pixel costs processor time that the rest of the machine
// wants: the saver then draws without multisampling, at no more than
// software_frame_rate, and leaves out what cannot show.
#pragma once

#include <string>

// The most frames a second drawn on a software renderer. The snow moves
// slowly (4 to 6 scene units a second): 30 frames still look smooth.
constexpr int software_frame_rate = 30; // Hz

// Environment variable whose value, when set, replaces the driver's
// GL_RENDERER for the rule below. The tests name a GPU there so that the
// software renderer of their machine runs the saver as a GPU would.
constexpr const char* renderer_override_variable = "VESPERINE_GL_RENDERER";

// True when `renderer` names a software renderer: Mesa's llvmpipe and
// softpipe (also behind zink or D3D12), Mesa's old "Software Rasterizer"
// and Xlib/off-screen drivers, SwiftShader, Windows' own "GDI Generic" and
// its Basic Render Driver (WARP), Apple's software renderer. Letter case does
// not matter. A GPU, a virtual machine's adapter backed by the host's GPU
// ("SVGA3D", "virgl"), an unknown name, an empty one and null are all taken
// as hardware: the saver then behaves as it always did.
bool is_software_renderer(const char* renderer);

// The one line noted where a software renderer was found: its name and
// what was turned down (multisampling only when the window had samples).
std::string software_renderer_note(const char* renderer, bool turned_down_samples);
