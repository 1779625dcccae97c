#include <algorithm>

#include <gtest/gtest.h>

#include "snow/random.h"

// The Windows C runtime's rand() after srand(1): the sequence every run of
// the saver draws its first population from.
TEST(Random, ReproducesTheWindowsRuntimeSequenceAfterSeedOne)
{
    seed_random(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int value : expected)
        EXPECT_EQ(draw_random(), value);
}

TEST(Random, ReproducesTheSequenceOfAnotherSeed)
{
    seed_random(2345);
    EXPECT_EQ(draw_random(), 7696);
    EXPECT_EQ(draw_random(), 14140);
    EXPECT_EQ(draw_random(), 2448);
}

TEST(Random, ReseedingRestartsTheSequence)
{
    seed_random(77);
    const int first = draw_random();
    draw_random();
    seed_random(77);
    EXPECT_EQ(draw_random(), first);
}

// The state wraps at 32 bits: seeds near the top must still give 15-bit values.
TEST(Random, StaysWithinFifteenBitsForLargeSeeds)
{
    seed_random(0xffffffffu);
    for (int i = 0; i < 1000; ++i) {
        int r = draw_random();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
    }
}

TEST(Random, UnitDrawIsTheDrawModuloTenThousand)
{
    seed_random(1);
    EXPECT_FLOAT_EQ(random_unit(), 41 / 10000.0f);
    EXPECT_FLOAT_EQ(random_unit(), 8467 / 10000.0f);  // 18467 mod 10000
    EXPECT_FLOAT_EQ(random_unit(), 6334 / 10000.0f);
}

TEST(Random, RangeRunsFromFirstBoundTowardsTheSecond)
{
    seed_random(1);
    // 41 -> unit 0.0041: -5 + (-45 * 0.0041)
    EXPECT_FLOAT_EQ(random_range(-5.0f, -50.0f), -45.0f * 0.0041f + -5.0f);
}

// random_range(-5, -50) never reaches -50: the largest unit draw is 0.9999.
TEST(Random, RangeStaysInsideItsBounds)
{
    seed_random(9);
    float lowest = 0.0f, highest = -100.0f;
    for (int i = 0; i < 200000; ++i) {
        float v = random_range(-5.0f, -50.0f);
        lowest = std::min(lowest, v);
        highest = std::max(highest, v);
    }
    EXPECT_LE(highest, -5.0f);
    EXPECT_GT(lowest, -50.0f);
    EXPECT_LT(lowest, -49.99f);
}

// One component set, the other two exactly 0; the axis is drawn before the rate.
TEST(Random, AxisSpinSetsOneAxisChosenByTheFirstDraw)
{
    for (std::uint32_t seed = 0; seed < 300; ++seed) {
        seed_random(seed);
        const float t = 3.0f * (draw_random() % 10000 / 10000.0f);
        const float s = 2.0f * (draw_random() % 10000 / 10000.0f) + -1.0f;
        seed_random(seed);
        const Vec3 v = random_axis_spin(1.0f);
        const Vec3 expected{t <= 1.0f ? s : 0.0f, t > 1.0f && t <= 2.0f ? s : 0.0f, t > 2.0f ? s : 0.0f};
        ASSERT_EQ(v.x, expected.x) << "seed " << seed;
        ASSERT_EQ(v.y, expected.y) << "seed " << seed;
        ASSERT_EQ(v.z, expected.z) << "seed " << seed;
        int zeros = (v.x == 0.0f) + (v.y == 0.0f) + (v.z == 0.0f);
        ASSERT_GE(zeros, 2);
    }
}
