#include "render/drawable_size.h"

std::int32_t window_width = 0;
std::int32_t window_height = 0;
float aspect_ratio = 0.0f;

void set_drawable_size(std::int32_t width, std::int32_t height)
{
    window_width = width;
    window_height = height;
    aspect_ratio = aspect_ratio_of(width, height, aspect_ratio);
}

float aspect_ratio_of(std::int32_t width, std::int32_t height, float previous)
{
    if (width > 0 && height > 0)
        return static_cast<float>(width) / static_cast<float>(height);
    return previous == 0.0f ? 1.0f : previous;
}
