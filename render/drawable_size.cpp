#include "render/drawable_size.h"

std::int32_t window_width = 0;
std::int32_t window_height = 0;
float aspect_ratio = 0.0f;

void set_drawable_size(std::int32_t width, std::int32_t height)
{
    window_width = width;
    window_height = height;
    if (width > 0 && height > 0)
        aspect_ratio = static_cast<float>(width) / static_cast<float>(height);
    else if (aspect_ratio == 0.0f)
        aspect_ratio = 1.0f;
}
