// The real saver executable under the test's X display, driven like a user
// would: xdotool for keys, buttons, pointer and wheel, a close request as a
// window manager sends it.
#include "tests/e2e/saver_driving.h"
#include "tests/e2e/x_session.h"
#include "tests/foundation/child_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// Hang guards, not speed targets: a sanitised build on llvmpipe is slow.
constexpr double window_limit = 60.0; // seconds until the window shows
constexpr double exit_limit = 20.0;   // seconds until an ended saver is gone

class SaverRun : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(x.connected()) << "needs an X display (DISPLAY)";
        // Park the pointer on the screen's middle, away from earlier runs.
        ASSERT_TRUE(xdotool({"mousemove", "200", "150"}));
    }

    // Starts the saver with `args` and waits for its window.
    void start(ChildProcess* saver, const std::vector<std::string>& args, Window* window,
               const char* gl_version = nullptr)
    {
        ASSERT_TRUE(start_saver(saver, args, gl_version));
        *window = x.wait_for_window_of(
            saver->process_id(), window_limit, [](void* child) { return !static_cast<ChildProcess*>(child)->ended(); },
            saver);
        ASSERT_NE(*window, 0u) << "no window; saver said: " << saver->error_text();
    }

    // Waits until the saver's frame loop presents pictures: from then on it
    // handles events once per frame.
    void wait_for_frames(Window window)
    {
        ASSERT_TRUE(x.wait_for_picture(window, window_limit)) << "no frame drawn";
    }

    // Waits until the cursor over the saver's window is hidden.
    bool wait_until_cursor_hidden()
    {
        for (int i = 0; i < 400; ++i) {
            if (x.cursor_is_invisible())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    void expect_ends_with_zero(ChildProcess* saver)
    {
        int code = -1;
        ASSERT_TRUE(saver->wait(exit_limit, &code)) << "still running";
        EXPECT_EQ(code, 0);
        std::string errors = saver->error_text();
        EXPECT_EQ(errors.find("Error:"), std::string::npos) << errors;
        EXPECT_EQ(errors.find("Debug:"), std::string::npos) << errors;
    }

    XSession x;
};

TEST_F(SaverRun, SaverSwitchOpensFullScreenWindowWithHiddenCursor)
{
    // Control: over the bare root window the server shows a visible cursor.
    ASSERT_FALSE(x.cursor_is_invisible());

    ChildProcess saver;
    Window window = 0;
    ASSERT_NO_FATAL_FAILURE(start(&saver, {"/s"}, &window));
    int left = -1, top = -1, width = 0, height = 0;
    ASSERT_TRUE(x.geometry(window, &left, &top, &width, &height));
    EXPECT_EQ(left, 0);
    EXPECT_EQ(top, 0);
    EXPECT_EQ(width, x.screen_width());
    EXPECT_EQ(height, x.screen_height());
    EXPECT_EQ(x.windows_of(saver.process_id()), 1);

    ASSERT_TRUE(xdotool({"mousemove", "300", "200"}));
    EXPECT_TRUE(wait_until_cursor_hidden());

    ASSERT_TRUE(xdotool({"key", "a"}));
    expect_ends_with_zero(&saver);
}

// One xdotool action that must end the saver.
struct EndingInput {
    const char* name;
    std::vector<std::string> args;
};

class SaverEndingInput : public SaverRun, public testing::WithParamInterface<EndingInput> {
};

TEST_P(SaverEndingInput, EndsWithZero)
{
    ChildProcess saver;
    Window window = 0;
    ASSERT_NO_FATAL_FAILURE(start(&saver, {"/s"}, &window));
    ASSERT_NO_FATAL_FAILURE(wait_for_frames(window));
    ASSERT_TRUE(xdotool(GetParam().args));
    expect_ends_with_zero(&saver);
}

INSTANTIATE_TEST_SUITE_P(AnyKeyOrButton, SaverEndingInput,
                         testing::Values(EndingInput{"LetterKey", {"key", "a"}},
                                         EndingInput{"Escape", {"key", "Escape"}},
                                         EndingInput{"ShiftAlone", {"key", "shift"}},
                                         EndingInput{"LeftButton", {"click", "1"}},
                                         EndingInput{"RightButton", {"click", "3"}},
                                         EndingInput{"MiddleButtonDown", {"mousedown", "2"}}),
                         [](const testing::TestParamInfo<EndingInput>& input) { return input.param.name; });

TEST_F(SaverRun, PointerMovesAndWheelTurnsDoNotEndIt)
{
    ChildProcess saver;
    Window window = 0;
    ASSERT_NO_FATAL_FAILURE(start(&saver, {"/s"}, &window));
    ASSERT_NO_FATAL_FAILURE(wait_for_frames(window));
    ASSERT_TRUE(xdotool({"mousemove", "10", "10"}));
    ASSERT_TRUE(xdotool({"mousemove", "600", "400"}));
    ASSERT_TRUE(xdotool({"mousemove_relative", "--", "-50", "25"}));
    for (const char* wheel : {"4", "5", "6", "7"})
        ASSERT_TRUE(xdotool({"click", wheel}));
    ASSERT_TRUE(xdotool({"mousemove", "1", "1"}));
    // Several frames' worth of time to react, had it been going to.
    int code = -1;
    EXPECT_FALSE(saver.wait(2.0, &code)) << "ended with " << code;
    EXPECT_EQ(x.windows_of(saver.process_id()), 1);

    ASSERT_TRUE(xdotool({"key", "space"}));
    expect_ends_with_zero(&saver);
}

TEST_F(SaverRun, CloseRequestEndsWithZero)
{
    ChildProcess saver;
    Window window = 0;
    ASSERT_NO_FATAL_FAILURE(start(&saver, {"/s"}, &window));
    ASSERT_NO_FATAL_FAILURE(wait_for_frames(window));
    x.request_close(window);
    expect_ends_with_zero(&saver);
}

// With no switch the saver runs full screen too, as the only such instance:
// a second run without a switch, or a preview run, ends at once and shows
// nothing, while a /s run starts anyway.
TEST_F(SaverRun, SecondInstanceWithoutSwitchOrPreviewEndsAtOnce)
{
    ChildProcess first;
    Window first_window = 0;
    ASSERT_NO_FATAL_FAILURE(start(&first, {}, &first_window));

    for (const std::vector<std::string>& args : {std::vector<std::string>{}, std::vector<std::string>{"/p", "1234"},
                                                 std::vector<std::string>{"/x"}}) {
        ChildProcess second;
        ASSERT_TRUE(second.start(VESPERINE_EXE, args));
        pid_t second_pid = second.process_id();
        int code = -1;
        ASSERT_TRUE(second.wait(exit_limit, &code));
        EXPECT_EQ(code, 0);
        EXPECT_EQ(second.error_text(), "") << "a refused run shows nothing";
        EXPECT_EQ(x.windows_of(second_pid), 0);
    }

    ChildProcess saver;
    Window saver_window = 0;
    ASSERT_NO_FATAL_FAILURE(start(&saver, {"/s"}, &saver_window));
    x.request_close(saver_window);
    expect_ends_with_zero(&saver);

    x.request_close(first_window);
    expect_ends_with_zero(&first);
}

// A driver that offers OpenGL 2.0 and nothing newer runs the saver as any
// other: frames drawn, no box, a key ends it with 0.
TEST_F(SaverRun, RunsOnOpenGL20)
{
    ChildProcess saver;
    Window window = 0;
    ASSERT_NO_FATAL_FAILURE(start(&saver, {"/s"}, &window, "2.0"));
    ASSERT_NO_FATAL_FAILURE(wait_for_frames(window));
    ASSERT_TRUE(xdotool({"key", "a"}));
    expect_ends_with_zero(&saver);
}

// One run on a driver older than OpenGL 2.0.
struct OldOpenGl {
    const char* name;
    const char* version;
    bool preview;
};

class SaverOnOldOpenGl : public SaverRun, public testing::WithParamInterface<OldOpenGl> {
};

// Where the driver lacks what the saver calls (a remote session's or a
// virtual machine's OpenGL 1.1), one "Debug" box says so, naming the
// driver's version, and the run ends with exit code 0, no crash,
// full screen and in preview alike.
TEST_P(SaverOnOldOpenGl, ShowsTheBoxAndEndsWithZero)
{
    std::vector<std::string> args{"/s"};
    if (GetParam().preview)
        args = {"/p", std::to_string(x.make_host_window(160, 120))};
    ChildProcess saver;
    ASSERT_TRUE(start_saver(&saver, args, GetParam().version));
    int code = -1;
    ASSERT_TRUE(saver.wait(exit_limit, &code)) << "still running";
    EXPECT_EQ(code, 0);
    std::string shown = saver.error_text();
    std::string box = std::string("Debug: OpenGL 2.0 is needed, but the driver offers OpenGL ") + GetParam().version +
                      " Mesa ";
    std::string::size_type at = shown.find(box);
    ASSERT_NE(at, std::string::npos) << shown;
    EXPECT_NE(shown.find(" is missing)\n", at), std::string::npos) << shown;
    EXPECT_EQ(shown.find('\n', at), shown.size() - 1) << "the box is the last thing shown: " << shown;
    EXPECT_EQ(shown.find("Error: "), std::string::npos) << shown;
}

INSTANTIATE_TEST_SUITE_P(Versions, SaverOnOldOpenGl,
                         testing::Values(OldOpenGl{"FullScreen11", "1.1", false},
                                         OldOpenGl{"FullScreen15", "1.5", false},
                                         OldOpenGl{"Preview11", "1.1", true},
                                         OldOpenGl{"Preview15", "1.5", true}),
                         [](const testing::TestParamInfo<OldOpenGl>& run) { return run.param.name; });

// An InputOnly window can hold no drawing: handed over as a display mode's
// window it is a failed start, one line and exit code 1; as a /p host it
// ends the run with "Failed to open window", as any unusable host does,
// instead of a window of our own at 0,0.
TEST_F(SaverRun, InputOnlyWindowIsRefusedInDisplayModeAndPreview)
{
    std::string id = std::to_string(x.make_input_only_window(160, 120));
    ChildProcess hack;
    ASSERT_TRUE(hack.start(VESPERINE_EXE, {"--window-id", id}));
    int code = -1;
    ASSERT_TRUE(hack.wait(exit_limit, &code));
    EXPECT_EQ(code, 1);
    std::string shown = hack.error_text();
    EXPECT_NE(shown.find("InputOnly"), std::string::npos) << shown;
    EXPECT_EQ(shown.find('\n'), shown.size() - 1) << "one line: " << shown;

    ChildProcess preview;
    ASSERT_TRUE(preview.start(VESPERINE_EXE, {"/p", id}));
    ASSERT_TRUE(preview.wait(exit_limit, &code));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(preview.error_text(), "Debug: Failed to open window\n");
}

// What a run without a display said and how it ended.
struct Answer {
    int code = -1;
    std::string out;
    std::string err;
};

// `settings` are env(1)'s: "-u NAME" and "NAME=VALUE".
Answer run_with_environment(std::vector<std::string> env_args, const std::vector<std::string>& args)
{
    env_args.push_back(VESPERINE_EXE);
    env_args.insert(env_args.end(), args.begin(), args.end());
    ChildProcess saver;
    Answer answer;
    if (!saver.start("/usr/bin/env", env_args))
        return answer;
    std::string line;
    while (saver.read_line(&line, exit_limit))
        answer.out += line + "\n";
    if (!saver.wait(exit_limit, &answer.code))
        answer.code = -1;
    answer.err = saver.error_text();
    return answer;
}

Answer run_without_display(const std::vector<std::string>& args)
{
    return run_with_environment({"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY"}, args);
}

// A Wayland compositor's socket in a runtime folder of the test's own: all
// that the saver looks for to know it is in a Wayland session.
class FakeWaylandSession {
public:
    FakeWaylandSession()
    {
        char folder[] = "/tmp/vesperine-wayland-XXXXXX";
        if (!mkdtemp(folder))
            return;
        folder_ = folder;
        socket_ = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s/wayland-9", folder);
        bound_ = bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~FakeWaylandSession()
    {
        close(socket_);
        std::filesystem::remove_all(folder_);
    }
    bool ready() const { return bound_; }
    std::vector<std::string> without_x() const
    {
        return {"-u", "DISPLAY", "WAYLAND_DISPLAY=wayland-9", "XDG_RUNTIME_DIR=" + folder_};
    }

private:
    std::string folder_;
    int socket_ = -1;
    bool bound_ = false;
};

// Without a display there is nothing to draw on: one line says so and the
// run ends with exit code 0, with the switches and without.
TEST(SaverWithoutDisplay, SaysSoInOneLineAndEndsWithZero)
{
    for (const std::vector<std::string>& args : {std::vector<std::string>{"/s"}, std::vector<std::string>{}}) {
        Answer answer = run_without_display(args);
        EXPECT_EQ(answer.code, 0);
        EXPECT_EQ(answer.out, "");
        EXPECT_EQ(answer.err, "vesperine: no X display to draw on (DISPLAY is not set)\n");
    }
}

// What needs X11 (display mode, a preview's window id, the About window)
// in a Wayland session without Xwayland is a failed start: one line that
// says so, exit code 1.
TEST(SaverInWaylandSessionWithoutX, X11OnlyRunsSayTheyNeedAnXServerAndEndWithOne)
{
    FakeWaylandSession session;
    ASSERT_TRUE(session.ready());
    for (const std::vector<std::string>& args : {std::vector<std::string>{"/p", "1234"},
                                                 std::vector<std::string>{"--root"}, std::vector<std::string>{"/c"}}) {
        Answer answer = run_with_environment(session.without_x(), args);
        EXPECT_EQ(answer.code, 1) << args[0];
        EXPECT_NE(answer.err.find("needs an X server"), std::string::npos) << answer.err;
        EXPECT_EQ(answer.err.find('\n'), answer.err.size() - 1) << "one line: " << answer.err;
    }
}

// --help and -h print the usage and --version the version, on standard
// output, with exit code 0; without a display, so they open no window.
TEST(LinuxCommandLine, HelpAndVersionAnswerOnStandardOutputWithZero)
{
    for (const char* help : {"--help", "-h"}) {
        Answer answer = run_without_display({help});
        EXPECT_EQ(answer.code, 0) << help;
        EXPECT_EQ(answer.out.rfind("Usage: vesperine [/s | /p WINDOW-ID | /c]\n", 0), 0u) << answer.out;
        EXPECT_NE(answer.out.find("--window-id ID"), std::string::npos) << answer.out;
        EXPECT_EQ(answer.err, "");
    }
    Answer version = run_without_display({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, "vesperine " VESPERINE_VERSION "\n");
    EXPECT_EQ(version.err, "");
}

// An unknown option with two dashes is refused as Linux tools refuse it:
// one line naming it and pointing to --help, exit code 2.
TEST(LinuxCommandLine, UnknownOptionIsOneLineAndExitCodeTwo)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--frobnicate"}, std::vector<std::string>{"--root", "--frobnicate"}}) {
        Answer answer = run_without_display(args);
        EXPECT_EQ(answer.code, 2);
        EXPECT_EQ(answer.out, "");
        EXPECT_EQ(answer.err, "vesperine: unknown option \"--frobnicate\" (see \"vesperine --help\")\n");
    }
}

} // namespace
