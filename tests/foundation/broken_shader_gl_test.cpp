// A shader that does not compile: its log is shown, then which stage
// failed, and the process ends with exit code 0. This executable carries
// broken texts under 105 (only "//~") and 138 (a syntax error).
#include "render/shader_program.h"
#include "tests/support/hidden_gl_window.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct ChildResult {
    int exit_code = -1; // -signal when a signal ended it; 99 when it returned
    std::string error_text;
};

// Builds the program in a child process and collects what it shows.
ChildResult build_in_child(std::uint16_t vertex_id, std::uint16_t fragment_id)
{
    ChildResult result;
    int pipe_fds[2];
    if (pipe(pipe_fds) != 0)
        return result;
    pid_t pid = fork();
    if (pid == 0) {
        close(pipe_fds[0]);
        dup2(pipe_fds[1], 2);
        if (!open_hidden_gl_window(16, 16, "foundation test"))
            _exit(98);
        new ShaderProgram(vertex_id, fragment_id);
        _exit(99);
    }
    close(pipe_fds[1]);
    char buffer[1024];
    ssize_t n;
    while ((n = read(pipe_fds[0], buffer, sizeof buffer)) > 0)
        result.error_text.append(buffer, static_cast<std::size_t>(n));
    close(pipe_fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    return result;
}

std::size_t count(const std::string& text, const std::string& part)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST(BrokenShader, VertexFailureShowsLogThenStageAndEndsWithZero)
{
    ChildResult r = build_in_child(105, 106);
    EXPECT_EQ(r.exit_code, 0) << r.error_text;
    std::string::size_type log = r.error_text.find("Debug: ");
    std::string::size_type stage = r.error_text.find("Debug: Vertex shader compilation error\n");
    ASSERT_NE(log, std::string::npos) << r.error_text;
    ASSERT_NE(stage, std::string::npos) << r.error_text;
    EXPECT_LT(log, stage) << "the log comes first";
    std::string log_text = r.error_text.substr(log + 7, stage - log - 7);
    EXPECT_NE(log_text.find("error"), std::string::npos) << "the first box holds the compiler's log";
    // Ends before the fragment stage is compiled.
    EXPECT_EQ(count(r.error_text, "Debug: "), 2u) << r.error_text;
    EXPECT_EQ(r.error_text.find("Fragment"), std::string::npos);
}

TEST(BrokenShader, FragmentFailureShowsLogThenStageAndEndsWithZero)
{
    ChildResult r = build_in_child(139, 138);
    EXPECT_EQ(r.exit_code, 0) << r.error_text;
    std::string::size_type stage = r.error_text.find("Debug: Fragment shader compilation error\n");
    ASSERT_NE(stage, std::string::npos) << r.error_text;
    std::string::size_type log = r.error_text.find("Debug: ");
    ASSERT_LT(log, stage);
    EXPECT_NE(r.error_text.substr(log, stage - log).find("error"), std::string::npos);
    EXPECT_EQ(count(r.error_text, "Debug: "), 2u) << r.error_text;
    EXPECT_EQ(r.error_text.find("Vertex shader compilation error"), std::string::npos);
}

// The product's own sources still build in this executable.
TEST(BrokenShader, IntactPairStillBuilds)
{
    ChildResult r = build_in_child(137, 136);
    EXPECT_EQ(r.exit_code, 99) << r.error_text;
    EXPECT_EQ(r.error_text.find("Debug: "), std::string::npos) << r.error_text;
}

} // namespace
