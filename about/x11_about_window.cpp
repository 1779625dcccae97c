// The About window drawn with plain Xlib: the same layout, colours and texts
// as the Windows dialog, core X fonts instead of Arial, and the desktop's
// opener (xdg-open) instead of ShellExecuteA. Escape and Return close it, as
// they close dialogs here, and the window manager gets the program's name,
// class and icon.
#include "about/about_window.h"

#include "about/about_texts.h"
#include "app/window_icon.h"
#include "platform/platform.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

// Core fonts tried in order: Helvetica is what the standard X font packages
// offer nearest to Arial; "fixed" is always there.
const char* const body_fonts[] = {
    "-*-helvetica-medium-r-normal--14-*-*-*-p-*-iso8859-1",
    "-*-*-medium-r-normal--14-*-*-*-p-*-iso8859-1",
    "fixed",
};
const char* const heading_fonts[] = {
    "-*-helvetica-bold-r-normal--18-*-*-*-p-*-iso8859-1",
    "-*-*-bold-r-normal--18-*-*-*-*-*-iso8859-1",
    "-*-*-bold-r-*--*-*-*-*-*-*-iso8859-1",
    "fixed",
};

// Push-button colours of the usual desktop theme.
const about::Colour button_face{225, 225, 225};
const about::Colour button_border{173, 173, 173};
const about::Colour button_pressed_face{204, 228, 247};
const about::Colour button_pressed_border{0, 84, 153};
const about::Colour button_text_colour{0, 0, 0};

template <std::size_t n>
XFontStruct* load_first_font(Display* display, const char* const (&names)[n])
{
    for (const char* name : names)
        if (XFontStruct* font = XLoadQueryFont(display, name))
            return font;
    return nullptr;
}

int mask_shift(unsigned long mask)
{
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

int mask_bits(unsigned long mask)
{
    mask >>= mask_shift(mask);
    int bits = 0;
    while (mask & 1) {
        mask >>= 1;
        ++bits;
    }
    return bits;
}

// Everything the window needs between events; one per process, like the
// process-wide handles of the Windows dialog.
struct AboutState {
    Display* display = nullptr;
    Window window = 0;
    GC gc = nullptr;
    Atom delete_message = 0;
    XFontStruct* body_font = nullptr;
    XFontStruct* heading_font = nullptr;
    XImage* picture = nullptr; // null when resource 101 is missing
    unsigned long background = 0;
    unsigned long heading_pixel = 0;
    unsigned long notice_pixel = 0;
    unsigned long button_pixels[5] = {}; // face, border, pressed face, pressed border, text
    bool button_down = false; // left button pressed inside the button and held
    bool button_hot = false;  // ... and the pointer is still over it
};

unsigned long pixel_for(Display* display, about::Colour c)
{
    XColor colour{};
    colour.red = static_cast<unsigned short>(c.red * 257);
    colour.green = static_cast<unsigned short>(c.green * 257);
    colour.blue = static_cast<unsigned short>(c.blue * 257);
    colour.flags = DoRed | DoGreen | DoBlue;
    int screen = DefaultScreen(display);
    if (!XAllocColor(display, DefaultColormap(display, screen), &colour))
        return c.red + c.green + c.blue > 382 ? WhitePixel(display, screen)
                                              : BlackPixel(display, screen);
    return colour.pixel;
}

// The picture as an image in the screen's format. Only true-colour visuals
// are handled (every X server of this decade offers one); elsewhere the
// picture is left out.
XImage* load_picture(Display* display)
{
    int width = 0, height = 0;
    if (!platform::bitmap_size(about::picture_id, &width, &height) || width <= 0 || height <= 0)
        return nullptr;
    int screen = DefaultScreen(display);
    Visual* visual = DefaultVisual(display, screen);
    if (visual->c_class != TrueColor)
        return nullptr;
    std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * height * 3);
    platform::read_bitmap_rgb(about::picture_id, width, height, rgb.data());

    char* data = static_cast<char*>(std::malloc(static_cast<std::size_t>(width) * height * 4));
    if (!data)
        return nullptr;
    XImage* image = XCreateImage(display, visual, static_cast<unsigned>(DefaultDepth(display, screen)),
                                 ZPixmap, 0, data, static_cast<unsigned>(width),
                                 static_cast<unsigned>(height), 32, 0);
    if (!image) {
        std::free(data);
        return nullptr;
    }
    const unsigned long masks[3] = {visual->red_mask, visual->green_mask, visual->blue_mask};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            unsigned long pixel = 0;
            for (int c = 0; c < 3; ++c) {
                int bits = mask_bits(masks[c]);
                unsigned long value = bits >= 8 ? static_cast<unsigned long>(p[c]) << (bits - 8)
                                                : static_cast<unsigned long>(p[c]) >> (8 - bits);
                pixel |= (value << mask_shift(masks[c])) & masks[c];
            }
            XPutPixel(image, x, y, pixel);
        }
    }
    return image;
}

void clip_to(AboutState& s, about::Box box)
{
    XRectangle r{static_cast<short>(box.x), static_cast<short>(box.y),
                 static_cast<unsigned short>(box.width), static_cast<unsigned short>(box.height)};
    XSetClipRectangles(s.display, s.gc, 0, 0, &r, 1, Unsorted);
}

// Left-aligned lines from the top of the box, as a static control draws
// them; lines are split at CR LF (or a lone LF).
void draw_lines(AboutState& s, about::Box box, const char* text, XFontStruct* font,
                unsigned long pixel, bool underline)
{
    clip_to(s, box);
    XSetForeground(s.display, s.gc, pixel);
    if (font)
        XSetFont(s.display, s.gc, font->fid);
    int ascent = font ? font->ascent : 12;
    int line_height = font ? font->ascent + font->descent : 16;
    int baseline = box.y + ascent;
    const char* line = text;
    while (*line) {
        const char* end = line;
        while (*end && *end != '\r' && *end != '\n')
            ++end;
        int length = static_cast<int>(end - line);
        XDrawString(s.display, s.window, s.gc, box.x, baseline, line, length);
        if (underline && font) {
            int width = XTextWidth(font, line, length);
            XDrawLine(s.display, s.window, s.gc, box.x, baseline + 2, box.x + width - 1, baseline + 2);
        }
        if (*end == '\r')
            ++end;
        if (*end == '\n')
            ++end;
        line = end;
        baseline += line_height;
    }
    XSetClipMask(s.display, s.gc, None);
}

void draw_button(AboutState& s, const char* text)
{
    about::Box b = about::button_box;
    bool pressed = s.button_down && s.button_hot;
    XSetForeground(s.display, s.gc, s.button_pixels[pressed ? 2 : 0]);
    XFillRectangle(s.display, s.window, s.gc, b.x, b.y, static_cast<unsigned>(b.width),
                   static_cast<unsigned>(b.height));
    XSetForeground(s.display, s.gc, s.button_pixels[pressed ? 3 : 1]);
    XDrawRectangle(s.display, s.window, s.gc, b.x, b.y, static_cast<unsigned>(b.width - 1),
                   static_cast<unsigned>(b.height - 1));

    clip_to(s, b);
    XSetForeground(s.display, s.gc, s.button_pixels[4]);
    int length = static_cast<int>(std::strlen(text));
    int width = s.body_font ? XTextWidth(s.body_font, text, length) : length * 6;
    int ascent = s.body_font ? s.body_font->ascent : 12;
    int descent = s.body_font ? s.body_font->descent : 4;
    if (s.body_font)
        XSetFont(s.display, s.gc, s.body_font->fid);
    XDrawString(s.display, s.window, s.gc, b.x + (b.width - width) / 2,
                b.y + (b.height - ascent - descent) / 2 + ascent, text, length);
    XSetClipMask(s.display, s.gc, None);
}

void paint(AboutState& s, const AboutWindow& texts)
{
    XSetForeground(s.display, s.gc, s.background);
    XFillRectangle(s.display, s.window, s.gc, 0, 0, about::window_width, about::window_height);
    if (s.picture)
        XPutImage(s.display, s.window, s.gc, s.picture, 0, 0, about::picture_x, about::picture_y,
                  static_cast<unsigned>(s.picture->width), static_cast<unsigned>(s.picture->height));
    draw_lines(s, about::notice_box, texts.notice_text, s.body_font, s.notice_pixel, false);
    draw_lines(s, about::heading_box, texts.heading_text, s.heading_font, s.heading_pixel, true);
    draw_button(s, texts.button_text);
    XFlush(s.display);
}

bool inside(about::Box box, int x, int y)
{
    return x >= box.x && x < box.x + box.width && y >= box.y && y < box.y + box.height;
}

// Starts the desktop's opener for the address and does not wait for it; a
// missing opener leaves the window as it was. Finished openers are reaped
// by reap_openers.
void open_website()
{
    char program[] = "xdg-open";
    char address[256];
    std::strncpy(address, about::website_address, sizeof address - 1);
    address[sizeof address - 1] = 0;
    char* arguments[] = {program, address, nullptr};
    pid_t child = 0;
    posix_spawnp(&child, program, nullptr, nullptr, arguments, environ);
}

void reap_openers()
{
    while (waitpid(-1, nullptr, WNOHANG) > 0) {
    }
}

// A lost connection means the window is gone with it: that is a close, and
// a close ends the program with exit code 0.
int connection_lost(Display*)
{
    platform::exit_process(0);
}

// The program's icon as _NET_WM_ICON wants it: width, height, then one
// ARGB value per pixel, rows from the top, each in a long of its own.
void set_window_icon(AboutState& s)
{
    static unsigned char rgba[window_icon_size * window_icon_size * 4];
    draw_window_icon(rgba);
    static long cardinals[2 + window_icon_size * window_icon_size];
    cardinals[0] = window_icon_size;
    cardinals[1] = window_icon_size;
    for (int i = 0; i < window_icon_size * window_icon_size; ++i) {
        const unsigned char* p = &rgba[i * 4];
        cardinals[2 + i] = static_cast<long>((static_cast<unsigned long>(p[3]) << 24) |
                                             (static_cast<unsigned long>(p[0]) << 16) |
                                             (static_cast<unsigned long>(p[1]) << 8) | p[2]);
    }
    XChangeProperty(s.display, s.window, XInternAtom(s.display, "_NET_WM_ICON", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(cardinals),
                    2 + window_icon_size * window_icon_size);
}

void set_window_properties(AboutState& s, const AboutWindow& texts, int x, int y)
{
    XSizeHints* size = XAllocSizeHints();
    if (size) {
        size->flags = USPosition | PPosition | PMinSize | PMaxSize;
        size->x = x;
        size->y = y;
        size->min_width = size->max_width = about::window_width;
        size->min_height = size->max_height = about::window_height;
        XSetWMNormalHints(s.display, s.window, size);
        XFree(size);
    }
    // The program's name and class, as desktops match windows to programs
    // (the Windows class name means nothing here).
    XClassHint* class_hint = XAllocClassHint();
    if (class_hint) {
        char name[] = "vesperine";
        char class_name[] = "Vesperine";
        class_hint->res_name = name;
        class_hint->res_class = class_name;
        XSetClassHint(s.display, s.window, class_hint);
        XFree(class_hint);
    }
    set_window_icon(s);
    XStoreName(s.display, s.window, texts.caption);
    s.delete_message = XInternAtom(s.display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(s.display, s.window, &s.delete_message, 1);
}

} // namespace

AboutWindow::AboutWindow(void*, int)
    : caption(about::caption),
      class_name(about::class_name),
      button_text(about::button_text),
      notice_text(about::notice_text),
      heading_text(about::heading_text)
{
    static AboutState s;
    s.display = XOpenDisplay(nullptr);
    if (!s.display) {
        platform::message_box("Window Creation Failed!", "Error!", platform::MessageIcon::exclamation);
        return;
    }
    XSetIOErrorHandler(connection_lost);
    int screen = DefaultScreen(s.display);
    int x = about::centred_position(DisplayWidth(s.display, screen), about::window_width);
    int y = about::centred_position(DisplayHeight(s.display, screen), about::window_height);

    s.background = pixel_for(s.display, about::background_colour);
    s.heading_pixel = pixel_for(s.display, about::heading_colour);
    s.notice_pixel = pixel_for(s.display, about::notice_colour);
    const about::Colour button_colours[5] = {button_face, button_border, button_pressed_face,
                                             button_pressed_border, button_text_colour};
    for (int i = 0; i < 5; ++i)
        s.button_pixels[i] = pixel_for(s.display, button_colours[i]);
    s.window = XCreateSimpleWindow(s.display, RootWindow(s.display, screen), x, y, about::window_width,
                                   about::window_height, 0, 0, s.background);
    if (!s.window) {
        platform::message_box("Window Creation Failed!", "Error!", platform::MessageIcon::exclamation);
        return;
    }
    set_window_properties(s, *this, x, y);
    XSelectInput(s.display, s.window,
                 ExposureMask | KeyPressMask | ButtonPressMask | ButtonReleaseMask | ButtonMotionMask |
                     StructureNotifyMask);

    s.picture = load_picture(s.display);
    s.body_font = load_first_font(s.display, body_fonts);
    s.heading_font = load_first_font(s.display, heading_fonts);
    s.gc = XCreateGC(s.display, s.window, 0, nullptr);

    XMapWindow(s.display, s.window);
    XFlush(s.display);

    bool open = true;
    while (open) {
        XEvent event;
        XNextEvent(s.display, &event);
        reap_openers();
        switch (event.type) {
        case Expose:
            if (event.xexpose.count == 0)
                paint(s, *this);
            break;
        case ButtonPress:
            if (event.xbutton.button == Button1 &&
                inside(about::button_box, event.xbutton.x, event.xbutton.y)) {
                s.button_down = s.button_hot = true;
                draw_button(s, button_text);
            }
            break;
        case MotionNotify:
            if (s.button_down) {
                bool hot = inside(about::button_box, event.xmotion.x, event.xmotion.y);
                if (hot != s.button_hot) {
                    s.button_hot = hot;
                    draw_button(s, button_text);
                }
            }
            break;
        case ButtonRelease:
            if (event.xbutton.button == Button1 && s.button_down) {
                bool clicked = inside(about::button_box, event.xbutton.x, event.xbutton.y);
                s.button_down = s.button_hot = false;
                draw_button(s, button_text);
                if (clicked)
                    open_website();
            }
            break;
        case KeyPress: {
            KeySym key = XLookupKeysym(&event.xkey, 0);
            if (key == XK_Escape || key == XK_Return || key == XK_KP_Enter) {
                XDestroyWindow(s.display, s.window);
                open = false;
            }
            break;
        }
        case ClientMessage:
            if (event.xclient.format == 32 &&
                static_cast<Atom>(event.xclient.data.l[0]) == s.delete_message) {
                XDestroyWindow(s.display, s.window);
                open = false;
            }
            break;
        case DestroyNotify:
            if (event.xdestroywindow.window == s.window)
                open = false;
            break;
        default:
            break;
        }
    }
    if (s.picture) {
        XDestroyImage(s.picture);
        s.picture = nullptr;
    }
    XSync(s.display, False);
    reap_openers();
}
