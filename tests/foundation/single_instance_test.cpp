// The single-instance rule across real processes: a helper executable
// applies the same rule as the entry point to its command line and reports
// whether it went on. The holders keep their lock files in a runtime folder
// of the test's own.
#include "tests/foundation/child_process.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

class PrivateRuntimeFolder : public testing::Environment {
public:
    void SetUp() override
    {
        char folder[] = "/tmp/vesperine-runtime-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        path = folder;
        setenv("XDG_RUNTIME_DIR", folder, 1);
    }
    void TearDown() override { std::filesystem::remove_all(path); }

private:
    std::string path;
};

const testing::Environment* const runtime_folder = testing::AddGlobalTestEnvironment(new PrivateRuntimeFolder);

constexpr double startup_limit = 10.0; // seconds; guards against hangs only

// Starts a holder and returns its first line: "running" or "refused".
std::string start_holder(ChildProcess* child, std::vector<std::string> args)
{
    if (!child->start(INSTANCE_HOLDER, args))
        return "did not start";
    std::string line;
    if (!child->read_line(&line, startup_limit))
        return "no answer";
    return line;
}

// A refused run ends by itself, at once, with exit code 0.
void expect_refused(std::vector<std::string> args)
{
    ChildProcess second;
    ASSERT_EQ(start_holder(&second, args), "refused");
    int code = -1;
    ASSERT_TRUE(second.wait(startup_limit, &code));
    EXPECT_EQ(code, 0);
}

void expect_running(ChildProcess* child, std::vector<std::string> args)
{
    ASSERT_EQ(start_holder(child, args), "running");
}

void end_normally(ChildProcess* child)
{
    child->close_input();
    int code = -1;
    ASSERT_TRUE(child->wait(startup_limit, &code));
    EXPECT_EQ(code, 0);
}

TEST(SingleInstance, SecondPreviewOrNoneRunIsRefusedWhileNoneRunLives)
{
    ChildProcess first;
    expect_running(&first, {});
    expect_refused({});
    expect_refused({"/p", "1234"});
    expect_refused({"/S"});
    end_normally(&first);
}

TEST(SingleInstance, SecondRunIsRefusedWhilePreviewRunLives)
{
    ChildProcess first;
    expect_running(&first, {"/p", "77"});
    expect_refused({"/p:88"});
    expect_refused({"-s"});
    end_normally(&first);
}

TEST(SingleInstance, SaverAndConfigureRunsStartAnyway)
{
    ChildProcess first;
    expect_running(&first, {});
    ChildProcess saver;
    expect_running(&saver, {"/s"});
    ChildProcess configure;
    expect_running(&configure, {"/c"});
    end_normally(&saver);
    end_normally(&configure);
    end_normally(&first);
}

// A Saver run never takes the name, so a Preview run still starts.
TEST(SingleInstance, PreviewStartsWhileOnlySaverRuns)
{
    ChildProcess saver;
    expect_running(&saver, {"/s"});
    ChildProcess preview;
    expect_running(&preview, {"/p", "5"});
    end_normally(&preview);
    end_normally(&saver);
}

TEST(SingleInstance, NameIsFreeAgainAfterFirstEnds)
{
    {
        ChildProcess first;
        expect_running(&first, {});
        end_normally(&first);
    }
    ChildProcess next;
    expect_running(&next, {"/p", "1"});
    end_normally(&next);
}

TEST(SingleInstance, NameIsFreeAgainAfterFirstIsKilled)
{
    ChildProcess first;
    expect_running(&first, {});
    first.send_signal(SIGKILL);
    int code = 0;
    ASSERT_TRUE(first.wait(startup_limit, &code));
    EXPECT_EQ(code, -SIGKILL);
    ChildProcess next;
    expect_running(&next, {});
    end_normally(&next);
}

} // namespace

namespace {

// One environment variable of this test process (children inherit it),
// put back as it was at the end of the scope.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name)
    {
        const char* old = std::getenv(name);
        had_ = old != nullptr;
        old_ = old ? old : "";
        setenv(name, value, 1);
    }
    ~ScopedVariable()
    {
        if (had_)
            setenv(name_, old_.c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    bool had_ = false;
    std::string old_;
};

// A Wayland run claims per compositor, not per X display: one run on each
// of two compositors, however DISPLAY reads.
TEST(SingleInstance, WaylandRunsClaimPerWaylandDisplay)
{
    ScopedVariable same_x_display("DISPLAY", ":5");
    ChildProcess first;
    {
        ScopedVariable compositor("WAYLAND_DISPLAY", "wayland-7");
        expect_running(&first, {});
        expect_refused({});
    }
    ChildProcess other;
    {
        ScopedVariable compositor("WAYLAND_DISPLAY", "wayland-8");
        expect_running(&other, {});
    }
    end_normally(&other);
    end_normally(&first);
}

} // namespace
