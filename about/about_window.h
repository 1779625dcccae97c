// The configure-mode window: the product name, a small picture of the
// animation, a three-line notice and a button that opens the website.
// There is nothing to configure, so this is all that /c shows.
#pragma once

class AboutWindow {
public:
    // Builds the window, runs its message loop and returns once the window
    // has been closed, or at once when it could not be created.
    // module_instance: the program's HINSTANCE on Windows (null: the
    // executable's own module), unused elsewhere.
    // show_command: the show command the entry point received (SW_*), unused
    // on X11 where the window is simply mapped.
    AboutWindow(void* module_instance, int show_command);

    const char* caption;
    const char* class_name;
    const char* button_text;
    const char* notice_text;
    const char* heading_text;
};
