// CPU cost of the scene without GL: the set-up (models read from the
// embedded resources, meshes, nine batches, the first spawn, the background
// with meshoptimizer's passes) and the heaviest respawn pass (every slot
// free, so each batch fills its full per-pass limit), without uploads.
// The model reader's progress text goes to a null stream while timing.
#include <iostream>
#include <memory>
#include <ostream>
#include <streambuf>

#include <benchmark/benchmark.h>

#include "app/frame_scheduler.h"
#include "snow/random.h"
#include "snow/scene_batches.h"
#include "snow/snowflake_batch.h"
#include "snow/static_mesh.h"

namespace {

class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

struct SilentStandardOutput {
    SilentStandardOutput() : saved(std::cout.rdbuf(&null)) {}
    ~SilentStandardOutput() { std::cout.rdbuf(saved); }
    NullBuffer null;
    std::streambuf* saved;
};

struct CpuScene {
    std::unique_ptr<SnowflakeBatch> batches[scene_batch_count];
    SnowflakeBatch* pointers[scene_batch_count] = {};
    std::unique_ptr<StaticMesh> background;
};

// What set_up_scene does apart from its GL calls.
void build_cpu_scene(CpuScene& scene)
{
    for (int i = 0; i < scene_batch_count; ++i) {
        const BatchSpec& spec = scene_batch_specs[i];
        scene.batches[i] = std::make_unique<SnowflakeBatch>(spec.mesh_resource, spec.material_resource, spec.scale,
                                                            spec.particle_count, spec.kind);
        scene.pointers[i] = scene.batches[i].get();
    }
    for (int i = 0; i < scene_batch_count; ++i)
        scene.batches[i]->spawn(0.0f, scene_batch_specs[i].setup_limit);
    scene.background = std::make_unique<StaticMesh>(background_mesh_resource, background_material_resource,
                                                    background_scale);
}

void BM_SceneSetUpWithoutGl(benchmark::State& state)
{
    SilentStandardOutput silent;
    for (auto _ : state) {
        seed_random(1);
        CpuScene scene;
        build_cpu_scene(scene);
        benchmark::DoNotOptimize(scene.batches[8]->vertex_data());
        state.PauseTiming(); // freeing the arrays is not part of the set-up
        scene = CpuScene{};
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SceneSetUpWithoutGl)->Unit(benchmark::kMillisecond)->MinTime(2.0);

double no_clock() { return 0.0; }
void no_draw(float) {}
void no_upload(int) {}

void BM_HeaviestRespawnPass(benchmark::State& state)
{
    CpuScene scene;
    {
        SilentStandardOutput silent;
        build_cpu_scene(scene);
    }
    FrameScheduler scheduler(FrameHooks{no_clock, no_draw, no_upload}, scene.pointers);
    // Each pass runs 100 s after the last: every particle has died, so each
    // snowflake batch places one and the soft-particle batch twenty.
    float now = 100.0f;
    int reuploaded = 0;
    for (auto _ : state) {
        reuploaded = scheduler.run_respawn_pass(now);
        now += 100.0f;
    }
    state.counters["batches_changed"] = reuploaded;
}
BENCHMARK(BM_HeaviestRespawnPass)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
