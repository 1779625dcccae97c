// The respawn passes against the real scene in a small hidden window: the
// scheduler driven by a test clock, with the product's upload hook. What
// the GPU holds after partial uploads must be what the batches hold, and
// the clock's move after an hour must not change the picture.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "app/frame_scheduler.h"
#include "app/scene_clock.h"
#include "gl_window.h"
#include "render/scene.h"
#include "snow/batch_buffer.h"
#include "snow/snowflake_batch.h"

namespace {

constexpr int width = 64, height = 48; // pixels

double clock_now = 0.0; // seconds of library time
bool capture = false;   // whether the scheduler's frames are drawn and kept
std::vector<unsigned char> captured;

double read_test_clock() { return clock_now; }
void draw_and_keep(float time)
{
    if (!capture)
        return; // llvmpipe is slow: most passes need no picture
    draw_frame(time);
    captured = read_image(width, height);
}

// Largest difference of one colour channel between two pictures.
int largest_difference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b)
{
    int most = 0;
    for (std::size_t k = 0; k < a.size() && k < b.size(); ++k)
        most = std::max(most, std::abs(a[k] - b[k]));
    return most;
}

// What buffer `name` bound to `target` holds, `bytes` long.
std::vector<unsigned char> buffer_contents(GLenum target, GLuint name, int bytes)
{
    std::vector<unsigned char> data(static_cast<std::size_t>(bytes));
    glBindBuffer(target, name);
    glGetBufferSubData(target, 0, bytes, data.data());
    return data;
}

void expect_gpu_holds_the_batches()
{
    for (int i = 0; i < scene_batch_count; ++i) {
        const SnowflakeBatch& batch = *scene.batches[i];
        const BatchBuffer& buffer = *scene.batch_buffers[i];
        const std::vector<unsigned char> vertices =
            buffer_contents(GL_ARRAY_BUFFER, buffer.vertex_buffer(), batch.vertex_bytes());
        const std::vector<unsigned char> indices =
            buffer_contents(GL_ELEMENT_ARRAY_BUFFER, buffer.index_buffer(), batch.index_bytes());
        EXPECT_EQ(std::memcmp(vertices.data(), batch.vertex_data(), vertices.size()), 0) << "batch " << i;
        EXPECT_EQ(std::memcmp(indices.data(), batch.index_data(), indices.size()), 0) << "batch " << i;
    }
}

class RespawnGl : public testing::Test {
protected:
    void SetUp() override
    {
        window = open_scene_test_window(width, height);
        ASSERT_NE(window, nullptr) << "no GL window (is DISPLAY set?)";
        set_up_scene();
        clock_now = 0.0;
        capture = false;
        scheduler = new FrameScheduler(FrameHooks{read_test_clock, draw_and_keep, reupload_batch}, scene.batches);
        step_at(0.25);
    }

    void step_at(double t)
    {
        clock_now = t;
        scheduler->step();
    }

    GLFWwindow* window = nullptr;
    FrameScheduler* scheduler = nullptr; // lives until the process ends, as the scene does
};

} // namespace

// After a minute of passes (refills after the first snowflakes die at 20 s
// and the first soft particles at 30 s included) the partial uploads have
// left the GPU holding exactly the batches' arrays, and a frame drawn from
// them equals one drawn after sending every array whole.
TEST_F(RespawnGl, PartialUploadsDrawLikeWholeOnes)
{
    for (double t = 5.0; t < 62.0; t += 4.0)
        step_at(t);
    expect_gpu_holds_the_batches();

    const float time = 61.5f;
    draw_frame(time);
    const std::vector<unsigned char> partial = read_image(width, height);
    for (int i = 0; i < scene_batch_count; ++i)
        scene.batch_buffers[i]->reupload();
    draw_frame(time);
    const std::vector<unsigned char> whole = read_image(width, height);
    EXPECT_EQ(partial, whole);
}

// The first pass past an hour moves the clock by one step and every slot's
// times with it. The frame of that pass, drawn on the moved clock, matches
// the same moment drawn on the old clock just before, to within one colour
// level; the GPU then holds the moved times.
TEST_F(RespawnGl, ClockMoveLeavesThePictureAsItWas)
{
    double t = 5.0;
    for (; t < SceneClock::threshold; t += 4.0)
        step_at(t);
    ASSERT_EQ(scheduler->clock().offset(), 0.0);
    t = scheduler->next_respawn_time(); // the pass that moves the clock

    draw_frame(static_cast<float>(t));
    const std::vector<unsigned char> before = read_image(width, height);
    capture = true;
    step_at(t);
    ASSERT_EQ(scheduler->clock().offset(), static_cast<double>(SceneClock::step));
    EXPECT_LE(largest_difference(before, captured), 1);
    expect_gpu_holds_the_batches();

    // Half a second later the snow has visibly moved: a clock off by that
    // much would have shown.
    draw_frame(static_cast<float>(t - scheduler->clock().offset() + 0.5));
    EXPECT_GT(largest_difference(captured, read_image(width, height)), 16);
}
