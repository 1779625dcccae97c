// message_box shows a real, modal, ownerless box with the given text, caption
// and icon; a helper thread reads it and presses OK.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>

namespace {

struct SeenBox {
    bool found = false;
    bool has_owner = true;
    std::string texts; // every static text of the box, joined by '|'
    HICON icon = nullptr;
};

BOOL CALLBACK collect_child(HWND child, LPARAM param)
{
    SeenBox* seen = reinterpret_cast<SeenBox*>(param);
    char class_name[32] = {};
    GetClassNameA(child, class_name, sizeof class_name);
    if (lstrcmpiA(class_name, "Static") != 0)
        return TRUE;
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        seen->icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        return TRUE;
    }
    char text[256] = {};
    GetWindowTextA(child, text, sizeof text);
    seen->texts += std::string(text) + "|";
    return TRUE;
}

// Waits (up to 20 s) for a dialog box with this caption, reads it and
// presses its OK button.
void answer_box(const char* caption, SeenBox* seen)
{
    for (int i = 0; i < 400 && !seen->found; ++i) {
        HWND box = FindWindowA("#32770", caption);
        if (!box) {
            Sleep(50);
            continue;
        }
        seen->found = true;
        seen->has_owner = GetWindow(box, GW_OWNER) != nullptr;
        EnumChildWindows(box, collect_child, reinterpret_cast<LPARAM>(seen));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
}

SeenBox show_and_answer(const char* text, const char* caption, platform::MessageIcon icon)
{
    SeenBox seen;
    std::thread answerer(answer_box, caption, &seen);
    platform::message_box(text, caption, icon);
    answerer.join();
    return seen;
}

TEST(Win32MessageBox, ShowsTextUnderCaptionUntilAnswered)
{
    SeenBox seen = show_and_answer("Failed to load mesh", "Debug", platform::MessageIcon::information);
    ASSERT_TRUE(seen.found);
    EXPECT_FALSE(seen.has_owner);
    EXPECT_NE(seen.texts.find("Failed to load mesh|"), std::string::npos) << seen.texts;
}

TEST(Win32MessageBox, InformationBoxShowsTheInformationIcon)
{
    SeenBox seen = show_and_answer("note", "VesperineInfoBox", platform::MessageIcon::information);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.icon, LoadIconA(nullptr, IDI_INFORMATION));
}

TEST(Win32MessageBox, ExclamationBoxShowsTheExclamationIcon)
{
    SeenBox seen = show_and_answer("warning", "VesperineWarningBox", platform::MessageIcon::exclamation);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.icon, LoadIconA(nullptr, IDI_EXCLAMATION));
}

} // namespace
