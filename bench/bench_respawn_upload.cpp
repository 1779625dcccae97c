// What a respawn pass costs with its upload, on the real scene in a hidden
// window (Mesa under the current X display): bytes sent to the buffers and
// processor time, once sending each changed batch's arrays whole (as the
// saver did) and once only the slots the pass filled. The two ways take
// turns, pass by pass, on the same running scene, after the first minute
// of passes (every set-up particle has died, slots are being refilled).
//   bench_respawn_upload
#include <cstdio>
#include <ctime>
#include <iostream>
#include <streambuf>

#include <glad/gl.h>
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include "app/frame_scheduler.h"
#include "render/drawable_size.h"
#include "render/scene.h"
#include "snow/batch_buffer.h"
#include "snow/snowflake_batch.h"

namespace {

constexpr int warm_up_passes = 15;   // a minute of passes
constexpr int measured_passes = 200; // of each way

class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

double clock_now = 0.0; // seconds
double read_clock() { return clock_now; }
void no_draw(float) {}

void upload_whole(int batch)
{
    scene.batch_buffers[batch]->reupload();
    scene.batches[batch]->forget_changes();
}

// Bytes passed to glBufferSubData, counted behind the loader's pointer.
long long bytes_sent = 0;
PFNGLBUFFERSUBDATAPROC real_buffer_sub_data = nullptr;
void APIENTRY count_sub_data(GLenum target, GLintptr offset, GLsizeiptr size, const void* data)
{
    bytes_sent += size;
    real_buffer_sub_data(target, offset, size, data);
}

double cpu_seconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

struct Totals {
    long long bytes = 0;
    double seconds = 0.0; // processor time
};

} // namespace

int main()
{
    if (!glfwInit()) {
        std::fprintf(stderr, "no display for the GL context\n");
        return 1;
    }
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(320, 240, "bench", nullptr, nullptr);
    if (!window) {
        std::fprintf(stderr, "no GL window\n");
        return 1;
    }
    glfwMakeContextCurrent(window);
    gladLoaderLoadGL();
    set_drawable_size(320, 240);
    {
        NullBuffer null;
        std::streambuf* saved = std::cout.rdbuf(&null); // the model reader's progress text
        set_up_scene();
        std::cout.rdbuf(saved);
    }
    real_buffer_sub_data = glad_glBufferSubData;
    glad_glBufferSubData = count_sub_data;

    FrameScheduler partial(FrameHooks{read_clock, no_draw, reupload_batch}, scene.batches);
    FrameScheduler whole(FrameHooks{read_clock, no_draw, upload_whole}, scene.batches);
    float now = 5.0f; // seconds
    for (int n = 0; n < warm_up_passes; ++n, now += 4.0f)
        partial.run_respawn_pass(now);
    glFinish();

    Totals totals[2];
    for (int n = 0; n < 2 * measured_passes; ++n, now += 4.0f) {
        Totals& t = totals[n % 2];
        const long long bytes_before = bytes_sent;
        const double start = cpu_seconds();
        (n % 2 ? whole : partial).run_respawn_pass(now);
        glFinish(); // the driver's copy belongs to the pass
        t.seconds += cpu_seconds() - start;
        t.bytes += bytes_sent - bytes_before;
    }

    const double whole_bytes = static_cast<double>(totals[1].bytes) / measured_passes;
    const double partial_bytes = static_cast<double>(totals[0].bytes) / measured_passes;
    const double whole_ms = totals[1].seconds * 1000.0 / measured_passes;
    const double partial_ms = totals[0].seconds * 1000.0 / measured_passes;
    std::printf("respawn pass, %d of each way after %d passes, on %s\n", measured_passes, warm_up_passes,
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    std::printf("  bytes per pass:  whole arrays %.0f, filled slots only %.0f  (ratio %.2f)\n", whole_bytes,
                partial_bytes, whole_bytes / partial_bytes);
    std::printf("  CPU ms per pass with its upload:  whole %.3f, filled slots only %.3f  (ratio %.2f)\n", whole_ms,
                partial_ms, whole_ms / partial_ms);
    return 0;
}
