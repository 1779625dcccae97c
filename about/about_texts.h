// The fixed texts and layout of the About window, shared by the Win32 and the
// X11 window so both show the same thing. Texts are in the ANSI code page
// (Windows-1252) and ISO 8859-1 alike: 0xA9 is the copyright sign in both.
#pragma once

#include "about/about_site.h"

namespace about {

inline constexpr const char* caption = "About";
inline constexpr const char* class_name = "KelvoraWindowClass";
inline constexpr const char* button_text = "Visit website";
inline constexpr const char* heading_text = "Vesperine";
inline constexpr const char* notice_text =
    "Copyright \xA9 2024-2025 Vesperine. All rights reserved.\r\n"
    "More free screensavers at " VESPERINE_WEBSITE "\r\n"
    "Contact: " VESPERINE_SUPPORT;

// What the button opens: the site's root address and the query that tells
// the site where the visitor came from.
inline constexpr const char* website_address = VESPERINE_WEBSITE "?utm_source=About";

// Window size in pixels at 96 DPI (the outer rectangle on Windows); every
// size and position here is for 96 DPI and grows with the display's.
inline constexpr int window_width = 400;
inline constexpr int window_height = 300;

// The program's icon group, shown in the title bar.
inline constexpr int icon_id = 102;

// Picture resource number and where its top-left corner goes, client pixels.
inline constexpr int picture_id = 101;
inline constexpr int picture_x = 142;
inline constexpr int picture_y = 55;

// Child rectangles in client pixels: x, y, width, height.
struct Box {
    int x, y, width, height;
};
inline constexpr Box notice_box{20, 150, 380, 80};
inline constexpr Box heading_box{70, 20, 280, 20};
inline constexpr Box button_box{150, 210, 100, 32};

// Control id shared by the notice and the button; only the button sends
// WM_COMMAND with it.
inline constexpr int notice_id = 10;
inline constexpr int heading_id = 30;
inline constexpr int button_id = 10;

// Colours, 8-bit red, green, blue.
struct Colour {
    unsigned char red, green, blue;
};
inline constexpr Colour background_colour{177, 232, 179};
inline constexpr Colour heading_colour{0, 0, 0};
inline constexpr Colour notice_colour{0, 51, 255};

// Left edge of a window of `size` pixels centred on a screen of `screen`
// pixels, computed in double precision and truncated toward zero, as the
// Windows window has always been placed.
inline int centred_position(int screen, int size)
{
    return static_cast<int>((screen - size) * 0.5);
}

} // namespace about
