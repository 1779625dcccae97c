// The display window's icon, drawn in code: a light-blue monitor on a stand
// whose screen shows four quarters, red top left, green top right, blue
// bottom left and yellow bottom right, on a fully transparent surround.
#pragma once

constexpr int window_icon_size = 64; // pixels, width and height

// Fills `rgba` (window_icon_size * window_icon_size * 4 bytes) with the
// picture: rows top to bottom, red, green, blue, alpha per pixel, alpha not
// premultiplied.
void draw_window_icon(unsigned char* rgba);
