// The program's one pseudo-random generator, shared by every platform. It
// reproduces the Windows C runtime's srand/rand sequence exactly, so a given
// seed places the same particles on Windows and on Linux, and the particles
// of the scene set-up (drawn before any seeding) are the same everywhere.
#pragma once

#include <cstdint>

#include "render/vector.h"

// Restarts the sequence as srand(seed) does. Before the first call the state
// is as if seeded with 1.
void seed_random(std::uint32_t seed);

// Next number of the sequence, 0 to 32767 (rand()).
int draw_random();

// (draw_random() mod 10000) / 10000 as a float: 0, 0.0001, ..., 0.9999.
float random_unit();

// (b - a) * random_unit() + a in float: a for a unit draw of 0, never b.
// a may be larger than b.
float random_range(float a, float b);

// A spin rate about one randomly chosen axis, radians per second: one
// component is random_range(-limit, limit), the other two are exactly 0.
// Draws the axis first, then the rate.
Vec3 random_axis_spin(float limit);
