#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "app/frame_scheduler.h"
#include "mesh_fixtures.h"
#include "snow/random.h"
#include "snow/scene_batches.h"
#include "snow/snowflake_batch.h"

namespace {

// The injected clock and the recorded actions.
double clock_now = 0.0;
std::vector<float> drawn;
std::vector<int> reuploaded;

double read_test_clock() { return clock_now; }
void record_draw(float time) { drawn.push_back(time); }
void record_reupload(int batch) { reuploaded.push_back(batch); }

class FrameSchedulerTest : public testing::Test {
protected:
    void SetUp() override
    {
        clock_now = 0.0;
        drawn.clear();
        reuploaded.clear();
        for (int i = 0; i < scene_batch_count; ++i) {
            const BatchSpec& spec = scene_batch_specs[i];
            owned[i] = std::make_unique<SnowflakeBatch>(make_square_mesh(), spec.particle_count, spec.kind);
            batches[i] = owned[i].get();
        }
    }

    // The scene's set-up population: start time 0, two snowflakes per
    // snowflake batch, fifty soft particles.
    void spawn_setup_population()
    {
        for (int i = 0; i < scene_batch_count; ++i)
            batches[i]->spawn(0.0f, scene_batch_specs[i].setup_limit);
    }

    void step_at(FrameScheduler& scheduler, double t)
    {
        clock_now = t;
        scheduler.step();
    }

    std::unique_ptr<SnowflakeBatch> owned[scene_batch_count];
    SnowflakeBatch* batches[scene_batch_count] = {};
    const FrameHooks hooks{read_test_clock, record_draw, record_reupload};
};

} // namespace

TEST(FrameSchedulerSeed, TruncatesHundredThousandthsAndKeepsFourDigits)
{
    EXPECT_EQ(FrameScheduler::seed_for_time(0.123456789), 2345u);
    EXPECT_EQ(FrameScheduler::seed_for_time(0.0), 0u);
    EXPECT_EQ(FrameScheduler::seed_for_time(1.99999), 9999u);
    EXPECT_EQ(FrameScheduler::seed_for_time(-1.0), 0u);
}

// The first step at 0.123456789 s seeds the generator with 2345.
TEST_F(FrameSchedulerTest, FirstStepSeedsTheGeneratorFromTheClock)
{
    FrameScheduler scheduler(hooks, batches);
    seed_random(1);
    step_at(scheduler, 0.123456789);
    const int after_step = draw_random();
    seed_random(2345);
    EXPECT_EQ(after_step, draw_random());
    EXPECT_EQ(scheduler.state(), FrameScheduler::Running);
}

// Seeding happens once: a later step leaves the sequence alone.
TEST_F(FrameSchedulerTest, SeedsOnlyOnTheFirstStep)
{
    FrameScheduler scheduler(hooks, batches);
    step_at(scheduler, 0.5);
    seed_random(31);
    step_at(scheduler, 0.6);
    seed_random(31);
    const int expected = draw_random();
    seed_random(31);
    step_at(scheduler, 0.7);
    EXPECT_EQ(draw_random(), expected);
}

// A first step at 0.8 s draws and schedules the first pass at 5.0 s of
// library time; nothing respawns before a frame reaches it.
TEST_F(FrameSchedulerTest, FirstPassWaitsForLibraryTimeFive)
{
    spawn_setup_population();
    FrameScheduler scheduler(hooks, batches);
    step_at(scheduler, 0.8);
    EXPECT_EQ(drawn, (std::vector<float>{0.8f}));
    EXPECT_EQ(scheduler.next_respawn_time(), 5.0f);
    step_at(scheduler, 4.999);
    EXPECT_TRUE(reuploaded.empty());
    EXPECT_EQ(batches[8]->live_count(), 50);
    step_at(scheduler, 5.0);
    EXPECT_FALSE(reuploaded.empty());
    EXPECT_EQ(drawn.size(), 3u);
}

// At 5.01 s a pass runs before that frame is drawn, and the next is due at
// the float sum 5.01 + 4.0.
TEST_F(FrameSchedulerTest, PassAtFiveOhOneSchedulesTheNextAtNineOhOne)
{
    spawn_setup_population();
    FrameScheduler scheduler(hooks, batches);
    step_at(scheduler, 1.0);
    step_at(scheduler, 5.01);
    EXPECT_EQ(scheduler.next_respawn_time(), 5.01f + 4.0f);
    EXPECT_EQ(scheduler.next_respawn_time(), 9.01f);
    EXPECT_EQ(drawn, (std::vector<float>{1.0f, 5.01f}));
    // Every batch had free slots: each got one new particle (twenty for the
    // soft particles) and one re-upload, in batch order.
    EXPECT_EQ(reuploaded, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(batches[i]->live_count(), 3) << "batch " << i;
    EXPECT_EQ(batches[8]->live_count(), 70);
    EXPECT_EQ(batches[0]->finish_time(2), 5.01f + 20.0f);
    // Nothing more until 9.01.
    step_at(scheduler, 9.0);
    EXPECT_EQ(reuploaded.size(), 9u);
    step_at(scheduler, 9.01f);
    EXPECT_EQ(reuploaded.size(), 18u);
    EXPECT_EQ(scheduler.next_respawn_time(), 9.01f + 4.0f);
}

// A set-up slower than 5 s: the first step seeds, respawns and draws once.
TEST_F(FrameSchedulerTest, SlowSetUpRespawnsInTheFirstStep)
{
    spawn_setup_population();
    FrameScheduler scheduler(hooks, batches);
    step_at(scheduler, 6.5);
    EXPECT_EQ(drawn, (std::vector<float>{6.5f}));
    EXPECT_EQ(reuploaded.size(), 9u);
    EXPECT_EQ(scheduler.next_respawn_time(), 10.5f);
    EXPECT_EQ(scheduler.state(), FrameScheduler::Running);
}

// Every step draws exactly one frame, with the step's own time.
TEST_F(FrameSchedulerTest, DrawsOneFramePerStep)
{
    spawn_setup_population();
    FrameScheduler scheduler(hooks, batches);
    std::vector<float> expected;
    for (int n = 0; n < 2000; ++n) {
        const double t = 0.3 + n * (1.0 / 60.0);
        step_at(scheduler, t);
        expected.push_back(static_cast<float>(t));
    }
    EXPECT_EQ(drawn, expected);
}

// Only batches in which spawn placed a particle are sent again; when no
// batch has a free slot nothing is.
TEST_F(FrameSchedulerTest, ReuploadsOnlyBatchesThatSpawned)
{
    for (int i = 0; i < scene_batch_count; ++i)
        batches[i]->spawn(0.0f, 1000); // every slot live until 20 s (30 s for soft particles)
    FrameScheduler scheduler(hooks, batches);
    step_at(scheduler, 5.0);
    EXPECT_TRUE(reuploaded.empty());
    EXPECT_EQ(drawn.size(), 1u);

    // Free one slot of batch 3 only.
    batches[3]->place_particle(0, 0, 0, Vec3{}, Vec3{}, Vec3{0.0f, 8.0f, 0.0f}, 4);
    step_at(scheduler, 9.0);
    EXPECT_EQ(reuploaded, (std::vector<int>{3}));
    EXPECT_EQ(batches[3]->finish_time(4), 29.0f);

    // At 21 s the snowflakes of the first population have expired; the soft
    // particles live until 30 s. (Frames come on a pass's rhythm: a step
    // more than 5 s after the last would be a pause the scene skips.)
    step_at(scheduler, 13.0);
    step_at(scheduler, 17.0);
    reuploaded.clear();
    step_at(scheduler, 21.0);
    EXPECT_EQ(reuploaded, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(batches[3]->live_count(), 2); // slot 4 (finish 29) and the one just placed
}

// Two runs with different first-frame times get the same set-up population
// but different particles from the first respawn pass.
TEST_F(FrameSchedulerTest, RespawnedParticlesDependOnTheFirstFrameTime)
{
    seed_random(1);
    spawn_setup_population();
    FrameScheduler first(hooks, batches);
    step_at(first, 0.41);
    step_at(first, 5.0);
    const float from_first = batches[0]->vertex_data()[2 * 4 * 20 + SnowflakeBatch::translation_offset];

    SetUp();
    seed_random(1);
    spawn_setup_population();
    FrameScheduler second(hooks, batches);
    step_at(second, 0.52);
    step_at(second, 5.0);
    const float from_second = batches[0]->vertex_data()[2 * 4 * 20 + SnowflakeBatch::translation_offset];
    EXPECT_NE(from_first, from_second);
}

// With a second monitor the list holds nine more batches after the scene's
// own: the pass walks all eighteen in order, each with its kind's limit
// (index 17 is the second monitor's soft particles), and the primary's
// batches go first, so they get the same particles as on one monitor.
TEST_F(FrameSchedulerTest, PassWalksEveryMonitorsBatchesThePrimarysFirst)
{
    seed_random(1);
    spawn_setup_population();
    FrameScheduler alone(hooks, batches);
    step_at(alone, 0.41);
    step_at(alone, 5.0);
    const std::vector<float> primary_alone(batches[8]->vertex_data(),
                                           batches[8]->vertex_data() + batches[8]->vertex_bytes() / 4);

    SetUp();
    std::unique_ptr<SnowflakeBatch> second_owned[scene_batch_count];
    SnowflakeBatch* every[2 * scene_batch_count] = {};
    for (int i = 0; i < scene_batch_count; ++i) {
        const BatchSpec& spec = scene_batch_specs[i];
        second_owned[i] = std::make_unique<SnowflakeBatch>(make_square_mesh(), spec.particle_count, spec.kind);
        every[i] = batches[i];
        every[scene_batch_count + i] = second_owned[i].get();
    }
    seed_random(1);
    spawn_setup_population();
    for (int i = 0; i < scene_batch_count; ++i)
        second_owned[i]->spawn(0.0f, scene_batch_specs[i].setup_limit);
    FrameScheduler both(hooks, every, 2 * scene_batch_count);
    step_at(both, 0.41);
    step_at(both, 5.0);

    std::vector<int> all(2 * scene_batch_count);
    for (int i = 0; i < 2 * scene_batch_count; ++i)
        all[i] = i;
    EXPECT_EQ(reuploaded, all);
    EXPECT_EQ(every[7]->live_count(), 3);
    EXPECT_EQ(every[16]->live_count(), 3);
    EXPECT_EQ(every[17]->live_count(), 70);
    EXPECT_EQ(std::vector<float>(batches[8]->vertex_data(), batches[8]->vertex_data() + batches[8]->vertex_bytes() / 4),
              primary_alone);
}
