// Telling a renderer that draws on the processor from a GPU by the name
// the driver gives it (GL_RENDERER). Where OpenGL is software (a virtual
// machine without 3D, a remote session, a server), every pixel costs
// processor time that the rest of the machine wants, so the saver draws
// less there.
#pragma once

// True when `renderer` names a software renderer: Mesa's llvmpipe and
// softpipe (also behind zink or D3D12), Mesa's old "Software Rasterizer"
// and Xlib/off-screen drivers, SwiftShader, Windows' own "GDI Generic" and
// its Basic Render Driver (WARP), Apple's software renderer. Letter case does
// not matter. A GPU, a virtual machine's adapter backed by the host's GPU
// ("SVGA3D", "virgl"), an unknown name, an empty one and null are all taken
// as hardware: the saver then behaves as it always did.
bool is_software_renderer(const char* renderer);
