// Bitmap resources read pixel by pixel through a memory device context, the
// way the system itself renders them: GetPixel gives 0x00BBGGRR with rows
// counted from the top of the picture.
#include "platform/platform.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

HBITMAP load_bitmap(int id)
{
    if (id <= 0 || id > 0xFFFF)
        return nullptr; // not an integer resource name
    return LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
}

bool size_of(HBITMAP bitmap, int* width, int* height)
{
    BITMAP info{};
    if (GetObjectA(bitmap, sizeof info, &info) != sizeof info)
        return false;
    *width = info.bmWidth;
    *height = std::abs(info.bmHeight);
    return true;
}

} // namespace

bool bitmap_size(int id, int* width, int* height)
{
    *width = *height = 0;
    HBITMAP bitmap = load_bitmap(id);
    if (!bitmap)
        return false;
    bool ok = size_of(bitmap, width, height);
    DeleteObject(bitmap);
    return ok;
}

bool read_bitmap_rgb(int id, int width, int height, unsigned char* rgb)
{
    if (width <= 0 || height <= 0)
        return false;
    std::memset(rgb, 0, static_cast<std::size_t>(width) * height * 3);
    HBITMAP bitmap = load_bitmap(id);
    if (!bitmap)
        return false;
    int bitmap_width = 0;
    int bitmap_height = 0;
    if (!size_of(bitmap, &bitmap_width, &bitmap_height)) {
        DeleteObject(bitmap);
        return false;
    }

    HWND desktop = GetDesktopWindow();
    HDC screen = GetDC(desktop);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    // Pixels beyond the bitmap keep the black written above.
    int rows = height < bitmap_height ? height : bitmap_height;
    int columns = width < bitmap_width ? width : bitmap_width;
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns; ++x) {
            COLORREF colour = GetPixel(memory, x, y);
            if (colour == CLR_INVALID)
                continue;
            unsigned char* out = rgb + (static_cast<std::size_t>(y) * width + x) * 3;
            out[0] = static_cast<unsigned char>(colour & 0xFF);
            out[1] = static_cast<unsigned char>((colour >> 8) & 0xFF);
            out[2] = static_cast<unsigned char>((colour >> 16) & 0xFF);
        }
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(desktop, screen);
    DeleteObject(bitmap);
    return true;
}

} // namespace platform
