#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "mesh_fixtures.h"
#include "snow/random.h"
#include "snow/snowflake_batch.h"

namespace {

constexpr int stride = SnowflakeBatch::vertex_stride;

// The next `n` draws of the runtime sequence from `seed`, computed here
// independently of the generator under test.
std::vector<int> reference_draws(std::uint32_t seed, int n)
{
    std::vector<int> out;
    for (int i = 0; i < n; ++i) {
        seed = seed * 214013u + 2531011u;
        out.push_back(static_cast<int>((seed >> 16) & 0x7fff));
    }
    return out;
}

float unit_of(int draw)
{
    return static_cast<float>(draw % 10000) / 10000.0f;
}

float range_of(float a, float b, int draw)
{
    return (b - a) * unit_of(draw) + a;
}

const float* vertex(const SnowflakeBatch& batch, int slot, int i)
{
    return batch.vertex_data() + (static_cast<std::size_t>(slot) * batch.mesh_vertex_count() + i) * stride;
}

} // namespace

// Slot p's copy starts at vertex p * mesh_vertex_count, and its indices are
// the mesh's own shifted by that much.
TEST(SnowflakeBatch, LaysSlotTwoAfterTheFirstTwoCopies)
{
    SnowflakeBatch batch(make_square_mesh(), 4, ParticleKind::Flake);
    batch.place_particle(1, 2, 3, Vec3{4, 5, 6}, Vec3{7, 8, 9}, Vec3{10, 11, 0}, 2);
    const std::uint32_t* indices = batch.index_data();
    const std::uint32_t expected[] = {8, 9, 10, 11, 10, 9};
    for (int j = 0; j < 6; ++j)
        EXPECT_EQ(indices[12 + j], expected[j]) << "index position " << 12 + j;
    // Its first vertex starts at float 160: (2 * 4 + 0) * 20.
    const float* data = batch.vertex_data();
    EXPECT_EQ(data[160 + SnowflakeBatch::translation_offset], 1.0f);
    EXPECT_EQ(data[159], 0.0f); // the float before belongs to the never-filled slot 1
    EXPECT_EQ(batch.vertex_bytes(), 4 * 4 * 20 * 4);
    EXPECT_EQ(batch.index_count(), 24);
    EXPECT_EQ(batch.index_bytes(), 24 * 4);
    EXPECT_EQ(batch.stride(), 20);
}

// Mesh data first (position, texture coordinate, normal), then the same four
// particle parameters in every vertex of the slot.
TEST(SnowflakeBatch, WritesMeshDataAndParametersIntoEveryVertexOfTheSlot)
{
    SceneMesh* mesh = make_square_mesh();
    SnowflakeBatch batch(mesh, 3, ParticleKind::Flake);
    batch.place_particle(1.5f, -2.5f, 3.5f, Vec3{0.1f, -5.0f, 0.2f}, Vec3{0.0f, 0.7f, 0.0f},
                         Vec3{4.0f, 24.0f, 0.0f}, 1);
    EXPECT_TRUE(batch.is_alive(1));
    for (int i = 0; i < 4; ++i) {
        const float* v = vertex(batch, 1, i);
        for (int n = 0; n < 3; ++n) {
            EXPECT_EQ(v[SnowflakeBatch::position_offset + n], mesh->positions[3 * i + n]);
            EXPECT_EQ(v[SnowflakeBatch::normal_offset + n], mesh->normals[3 * i + n]);
        }
        EXPECT_EQ(v[SnowflakeBatch::tex_offset + 0], mesh->tex_coords[2 * i]);
        EXPECT_EQ(v[SnowflakeBatch::tex_offset + 1], mesh->tex_coords[2 * i + 1]);
        const float params[] = {0.1f, -5.0f, 0.2f, 0.0f, 0.7f, 0.0f, 4.0f, 24.0f, 0.0f, 1.5f, -2.5f, 3.5f};
        for (int n = 0; n < 12; ++n)
            EXPECT_EQ(v[SnowflakeBatch::move_direction_offset + n], params[n]) << "vertex " << i << " float " << n;
    }
    EXPECT_FLOAT_EQ(batch.finish_time(1), 24.0f);
}

TEST(SnowflakeBatch, IgnoresSlotsOutsideTheBatch)
{
    SnowflakeBatch batch(make_square_mesh(), 2, ParticleKind::Flake);
    batch.place_particle(1, 1, 1, Vec3{1, 1, 1}, Vec3{1, 1, 1}, Vec3{1, 1, 0}, -1);
    batch.place_particle(1, 1, 1, Vec3{1, 1, 1}, Vec3{1, 1, 1}, Vec3{1, 1, 0}, 2);
    EXPECT_EQ(batch.live_count(), 0);
    for (int k = 0; k < batch.vertex_bytes() / 4; ++k)
        ASSERT_EQ(batch.vertex_data()[k], 0.0f);
}

// Slots never filled draw nothing: all-zero vertices and indices (degenerate
// triangles at vertex 0), never an index outside the buffer.
TEST(SnowflakeBatch, StartsWithEveryArrayZeroAndEverySlotFree)
{
    SnowflakeBatch batch(make_square_mesh(), 5, ParticleKind::Quad);
    EXPECT_EQ(batch.live_count(), 0);
    for (int k = 0; k < batch.vertex_bytes() / 4; ++k)
        ASSERT_EQ(batch.vertex_data()[k], 0.0f);
    for (int k = 0; k < batch.index_count(); ++k)
        ASSERT_EQ(batch.index_data()[k], 0u);
}

// Refilling one slot leaves the others bit for bit as they were.
TEST(SnowflakeBatch, RefillingASlotLeavesTheOthersUntouched)
{
    SnowflakeBatch batch(make_square_mesh(), 3, ParticleKind::Flake);
    seed_random(5);
    batch.spawn(0.0f, 3);
    const std::vector<float> before(batch.vertex_data(), batch.vertex_data() + batch.vertex_bytes() / 4);
    const std::vector<std::uint32_t> indices_before(batch.index_data(), batch.index_data() + batch.index_count());
    batch.expire(20.0f);
    batch.place_particle(9, 9, 9, Vec3{9, 9, 9}, Vec3{9, 9, 9}, Vec3{9, 29, 0}, 1);
    const float* after = batch.vertex_data();
    const std::size_t slot_floats = 4 * stride;
    EXPECT_EQ(std::memcmp(after, before.data(), slot_floats * 4), 0);
    EXPECT_EQ(std::memcmp(after + 2 * slot_floats, before.data() + 2 * slot_floats, slot_floats * 4), 0);
    EXPECT_NE(std::memcmp(after + slot_floats, before.data() + slot_floats, slot_floats * 4), 0);
    EXPECT_EQ(std::memcmp(batch.index_data(), indices_before.data(), indices_before.size() * 4), 0);
}

TEST(SnowflakeBatch, SpawnFillsTheLowestFreeSlotsUpToTheLimit)
{
    SnowflakeBatch batch(make_square_mesh(), 5, ParticleKind::Flake);
    batch.place_particle(0, 0, 0, Vec3{}, Vec3{}, Vec3{0, 100, 0}, 0);
    batch.place_particle(0, 0, 0, Vec3{}, Vec3{}, Vec3{0, 100, 0}, 2);
    // Free: 1, 3, 4. A limit of 2 fills 1 and 3.
    EXPECT_EQ(batch.spawn(7.0f, 2), 1);
    EXPECT_TRUE(batch.is_alive(1));
    EXPECT_TRUE(batch.is_alive(3));
    EXPECT_FALSE(batch.is_alive(4));
    EXPECT_FLOAT_EQ(batch.finish_time(1), 27.0f);
    EXPECT_FLOAT_EQ(batch.finish_time(3), 27.0f);
    EXPECT_FLOAT_EQ(batch.finish_time(2), 100.0f); // the live particle stays
    // A limit beyond the free slots fills every one.
    EXPECT_EQ(batch.spawn(8.0f, 10), 1);
    EXPECT_EQ(batch.live_count(), 5);
    EXPECT_FLOAT_EQ(batch.finish_time(4), 28.0f);
}

// A full batch takes nothing, draws no random number and writes nothing.
TEST(SnowflakeBatch, SpawnIntoAFullBatchReturnsZeroAndChangesNothing)
{
    SnowflakeBatch batch(make_square_mesh(), 2, ParticleKind::Quad);
    seed_random(3);
    ASSERT_EQ(batch.spawn(0.0f, 2), 1);
    const std::vector<float> before(batch.vertex_data(), batch.vertex_data() + batch.vertex_bytes() / 4);
    seed_random(11);
    EXPECT_EQ(batch.spawn(1.0f, 5), 0);
    EXPECT_EQ(std::memcmp(batch.vertex_data(), before.data(), before.size() * 4), 0);
    EXPECT_EQ(draw_random(), reference_draws(11, 1)[0]);
}

TEST(SnowflakeBatch, SpawnWithALimitBelowOneFillsNothing)
{
    SnowflakeBatch batch(make_square_mesh(), 2, ParticleKind::Flake);
    EXPECT_EQ(batch.spawn(0.0f, 0), 0);
    EXPECT_EQ(batch.spawn(0.0f, -3), 0);
    EXPECT_EQ(batch.live_count(), 0);
}

// All slots filled by one spawn share its start time; the finish time is
// start + 20 for snowflakes and start + 30 for soft particles.
TEST(SnowflakeBatch, SpawnGivesEachKindItsLifetime)
{
    SnowflakeBatch flakes(make_square_mesh(), 3, ParticleKind::Flake);
    SnowflakeBatch quads(make_square_mesh(), 3, ParticleKind::Quad);
    flakes.spawn(2.5f, 3);
    quads.spawn(2.5f, 3);
    for (int p = 0; p < 3; ++p) {
        const float* f = vertex(flakes, p, 0) + SnowflakeBatch::time_offset;
        const float* q = vertex(quads, p, 0) + SnowflakeBatch::time_offset;
        EXPECT_EQ(f[0], 2.5f);
        EXPECT_EQ(f[1], 2.5f + 20.0f);
        EXPECT_EQ(f[2], 0.0f);
        EXPECT_EQ(q[0], 2.5f);
        EXPECT_EQ(q[1], 2.5f + 30.0f);
        EXPECT_EQ(q[2], 0.0f);
    }
}

// A particle whose finish time equals `now` exactly is freed; one a hair
// later is not. Expiry leaves the arrays alone.
TEST(SnowflakeBatch, ExpiresExactlyAtTheFinishTime)
{
    SnowflakeBatch batch(make_square_mesh(), 2, ParticleKind::Flake);
    batch.spawn(10.0f, 2);
    const std::vector<float> before(batch.vertex_data(), batch.vertex_data() + batch.vertex_bytes() / 4);
    batch.expire(std::nextafter(30.0f, 0.0f));
    EXPECT_EQ(batch.live_count(), 2);
    batch.expire(30.0f);
    EXPECT_EQ(batch.live_count(), 0);
    EXPECT_EQ(std::memcmp(batch.vertex_data(), before.data(), before.size() * 4), 0);
}

TEST(SnowflakeBatch, ExpireFreesOnlyTheFinishedSlots)
{
    SnowflakeBatch batch(make_square_mesh(), 3, ParticleKind::Flake);
    batch.place_particle(0, 0, 0, Vec3{}, Vec3{}, Vec3{0, 5, 0}, 0);
    batch.place_particle(0, 0, 0, Vec3{}, Vec3{}, Vec3{0, 15, 0}, 1);
    batch.place_particle(0, 0, 0, Vec3{}, Vec3{}, Vec3{0, 6, 0}, 2);
    batch.expire(6.0f);
    EXPECT_FALSE(batch.is_alive(0));
    EXPECT_TRUE(batch.is_alive(1));
    EXPECT_FALSE(batch.is_alive(2));
}

// The draws of one snowflake, in order: spin axis, spin rate, move z, y, x,
// translation z, y, x.
TEST(SnowflakeBatch, FlakeDrawsItsParametersInTheFixedOrder)
{
    SnowflakeBatch batch(make_square_mesh(), 1, ParticleKind::Flake);
    const std::vector<int> r = reference_draws(4242, 9);
    seed_random(4242);
    batch.spawn(3.0f, 1);
    const float* v = vertex(batch, 0, 2);
    const float t = range_of(0.0f, 3.0f, r[0]);
    const float s = range_of(-1.0f, 1.0f, r[1]);
    const float* spin = v + SnowflakeBatch::rotation_angles_offset;
    EXPECT_EQ(spin[0], t <= 1.0f ? s : 0.0f);
    EXPECT_EQ(spin[1], t > 1.0f && t <= 2.0f ? s : 0.0f);
    EXPECT_EQ(spin[2], t > 2.0f ? s : 0.0f);
    const float* move = v + SnowflakeBatch::move_direction_offset;
    EXPECT_EQ(move[2], range_of(-1.0f, 1.0f, r[2]));
    EXPECT_EQ(move[1], range_of(-6.0f, -4.0f, r[3]));
    EXPECT_EQ(move[0], range_of(-1.0f, 1.0f, r[4]));
    const float* at = v + SnowflakeBatch::translation_offset;
    EXPECT_EQ(at[2], range_of(-5.0f, -50.0f, r[5]));
    EXPECT_EQ(at[1], range_of(50.0f, 60.0f, r[6]));
    EXPECT_EQ(at[0], range_of(-50.0f, 50.0f, r[7]));
    // Exactly eight draws were used.
    EXPECT_EQ(draw_random(), r[8]);
}

// A soft particle draws six numbers (move z, y, x, translation z, y, x) and
// does not spin.
TEST(SnowflakeBatch, QuadDrawsItsParametersInTheFixedOrder)
{
    SnowflakeBatch batch(make_square_mesh(), 1, ParticleKind::Quad);
    const std::vector<int> r = reference_draws(99, 7);
    seed_random(99);
    batch.spawn(1.0f, 1);
    const float* v = vertex(batch, 0, 3);
    const float* move = v + SnowflakeBatch::move_direction_offset;
    EXPECT_EQ(move[2], range_of(-1.0f, 1.0f, r[0]));
    EXPECT_EQ(move[1], range_of(-6.0f, -4.0f, r[1]));
    EXPECT_EQ(move[0], range_of(-2.0f, 2.0f, r[2]));
    const float* at = v + SnowflakeBatch::translation_offset;
    EXPECT_EQ(at[2], range_of(-60.0f, -160.0f, r[3]));
    EXPECT_EQ(at[1], range_of(100.0f, 160.0f, r[4]));
    EXPECT_EQ(at[0], range_of(-150.0f, 150.0f, r[5]));
    const float* spin = v + SnowflakeBatch::rotation_angles_offset;
    EXPECT_EQ(spin[0], 0.0f);
    EXPECT_EQ(spin[1], 0.0f);
    EXPECT_EQ(spin[2], 0.0f);
    EXPECT_EQ(draw_random(), r[6]);
}

// Over many particles every parameter stays in its kind's box.
TEST(SnowflakeBatch, KeepsEveryParameterInsideItsKindsRange)
{
    SnowflakeBatch flakes(make_square_mesh(), 400, ParticleKind::Flake);
    SnowflakeBatch quads(make_square_mesh(), 400, ParticleKind::Quad);
    seed_random(1);
    flakes.spawn(0.0f, 400);
    quads.spawn(0.0f, 400);
    struct Range { float low, high; };
    // move x, y, z; spin x, y, z; translation x, y, z
    const Range flake_ranges[] = {{-1, 1}, {-6, -4}, {-1, 1}, {-1, 1}, {-1, 1}, {-1, 1}, {-50, 50}, {50, 60}, {-50, -5}};
    const Range quad_ranges[] = {{-2, 2}, {-6, -4}, {-1, 1}, {0, 0}, {0, 0}, {0, 0}, {-150, 150}, {100, 160}, {-160, -60}};
    const int offsets[] = {8, 9, 10, 11, 12, 13, 17, 18, 19};
    for (int p = 0; p < 400; ++p) {
        const float* f = vertex(flakes, p, 0);
        const float* q = vertex(quads, p, 0);
        for (int n = 0; n < 9; ++n) {
            ASSERT_GE(f[offsets[n]], flake_ranges[n].low) << "flake " << p << " float " << offsets[n];
            ASSERT_LE(f[offsets[n]], flake_ranges[n].high) << "flake " << p << " float " << offsets[n];
            ASSERT_GE(q[offsets[n]], quad_ranges[n].low) << "quad " << p << " float " << offsets[n];
            ASSERT_LE(q[offsets[n]], quad_ranges[n].high) << "quad " << p << " float " << offsets[n];
        }
        const int zero_spins = (f[11] == 0.0f) + (f[12] == 0.0f) + (f[13] == 0.0f);
        ASSERT_GE(zero_spins, 2) << "flake " << p;
    }
}

// A batch remembers which slots spawn wrote since its last upload: their
// vertex bytes, neighbours merged, and their index bytes only at a slot's
// first fill (a refill writes the same indices again). Moving the clock
// makes everything pending.
TEST(SnowflakeBatch, RemembersTheSlotsToSendAtTheNextUpload)
{
    SnowflakeBatch batch(make_square_mesh(), 5, ParticleKind::Flake);
    const int v = batch.slot_vertex_bytes(), i = batch.slot_index_bytes();
    EXPECT_EQ(v, 4 * 80);
    EXPECT_EQ(i, 6 * 4);
    const auto as_pairs = [](const std::vector<ByteRange>& ranges) {
        std::vector<std::pair<int, int>> pairs;
        for (const ByteRange& r : ranges)
            pairs.emplace_back(r.offset, r.bytes);
        return pairs;
    };
    using Pairs = std::vector<std::pair<int, int>>;

    batch.spawn(0.0f, 2);     // slots 0, 1 until 20 s
    batch.forget_changes();   // sent whole by the set-up
    EXPECT_FALSE(batch.changes().pending());
    batch.spawn(5.0f, 1);     // slot 2, first fill
    EXPECT_EQ(as_pairs(batch.changes().vertex_ranges(v)), (Pairs{{2 * v, v}}));
    EXPECT_EQ(as_pairs(batch.changes().index_ranges(i)), (Pairs{{2 * i, i}}));
    batch.forget_changes();

    batch.expire(21.0f);      // frees slots 0 and 1
    batch.spawn(21.0f, 5);    // refills 0 and 1, first fills 3 and 4
    EXPECT_EQ(as_pairs(batch.changes().vertex_ranges(v)), (Pairs{{0, 2 * v}, {3 * v, 2 * v}}));
    EXPECT_EQ(as_pairs(batch.changes().index_ranges(i)), (Pairs{{3 * i, 2 * i}}));
    EXPECT_FALSE(batch.changes().whole());
    batch.forget_changes();

    batch.shift_times(2048.318359375);
    EXPECT_TRUE(batch.changes().whole());
    EXPECT_EQ(batch.finish_time(2), 25.0f - 2048.318359375f);
}
