#include "snow/random.h"

namespace {
// The runtime's 32-bit state; unsigned so that the wrap-around is defined.
std::uint32_t holdrand = 1;
} // namespace

void seed_random(std::uint32_t seed)
{
    holdrand = seed;
}

int draw_random()
{
    holdrand = holdrand * 214013u + 2531011u;
    return static_cast<int>((holdrand >> 16) & 0x7fffu);
}

float random_unit()
{
    return static_cast<float>(draw_random() % 10000) / 10000.0f;
}

float random_range(float a, float b)
{
    return (b - a) * random_unit() + a;
}

Vec3 random_axis_spin(float limit)
{
    float t = random_range(0.0f, 3.0f);
    Vec3 v{0.0f, 0.0f, 0.0f};
    float s = random_range(-limit, limit);
    if (t <= 1.0f)
        v.x += s;
    else if (t <= 2.0f)
        v.y += s;
    else
        v.z += s;
    return v;
}
