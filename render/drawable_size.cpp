#include "render/drawable_size.h"

View primary_view;

std::int32_t& window_width = primary_view.window_width;
std::int32_t& window_height = primary_view.window_height;
float& aspect_ratio = primary_view.aspect_ratio;

void set_drawable_size(std::int32_t width, std::int32_t height)
{
    set_view_size(primary_view, width, height);
}

void set_view_size(View& view, std::int32_t width, std::int32_t height)
{
    view.window_width = width;
    view.window_height = height;
    view.aspect_ratio = aspect_ratio_of(width, height, view.aspect_ratio);
}

float aspect_ratio_of(std::int32_t width, std::int32_t height, float previous)
{
    if (width > 0 && height > 0)
        return static_cast<float>(width) / static_cast<float>(height);
    return previous == 0.0f ? 1.0f : previous;
}
