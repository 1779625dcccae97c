// One population of particles sharing one mesh. Every particle slot holds a
// full copy of the mesh in one interleaved vertex array, with the particle's
// motion in every vertex of its copy, so the vertex shader animates it from
// the time alone and the whole batch draws with one call. The CPU touches a
// slot only when a particle is born or retired.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "render/vector.h"
#include "snow/slot_changes.h"

class SceneMesh;

enum class ParticleKind : std::int32_t {
    Flake = 0, // lit, spinning snowflake meshes
    Quad = 1,  // soft discs drawn on a flat quad
};

class SnowflakeBatch {
public:
    // Float offsets of the attributes inside the 20-float (80-byte) vertex.
    static constexpr int vertex_stride = 20;
    static constexpr int position_offset = 0;        // 3: mesh position, scene units
    static constexpr int tex_offset = 3;             // 2: mesh texture coordinate
    static constexpr int normal_offset = 5;          // 3: mesh unit normal
    static constexpr int move_direction_offset = 8;  // 3: velocity, scene units per second
    static constexpr int rotation_angles_offset = 11; // 3: spin rates, radians per second
    static constexpr int time_offset = 14;           // 3: start, finish (seconds), 0
    static constexpr int translation_offset = 17;    // 3: start position, scene units

    // Loads its mesh (ending the process if that fails) and lays out
    // `particle_count` free slots. Spawns nothing.
    SnowflakeBatch(int mesh_resource, int material_resource, float scale, int particle_count,
                   ParticleKind kind);
    // The same around a mesh that is already built; the batch takes it over.
    SnowflakeBatch(SceneMesh* mesh, int particle_count, ParticleKind kind);

    ~SnowflakeBatch();
    SnowflakeBatch(const SnowflakeBatch&) = delete;
    SnowflakeBatch& operator=(const SnowflakeBatch&) = delete;

    // Writes a fresh mesh copy with the given parameters into slot `slot` and
    // marks it live. `times` is (start, finish, 0) in seconds. A slot outside
    // 0..particle_count-1 does nothing.
    void place_particle(float x, float y, float z, Vec3 move_direction, Vec3 rotation_angles,
                        Vec3 times, int slot);

    // Fills up to `limit` free slots, lowest first, with new particles that
    // start at `now` (seconds). Returns 1 if it filled any (the arrays then
    // need a re-upload), else 0. A limit below 1 fills nothing.
    int spawn(float now, int limit);

    // Frees every live slot whose finish time is not after `now` (seconds).
    // Touches only the live flags, so no re-upload is needed.
    void expire(float now);

    // Moves the start and finish times of every slot `seconds` earlier, as
    // the scene clock moves on; each is computed in double and rounded once
    // (exact for the times of live particles, see SceneClock). The next
    // upload then sends the arrays whole.
    void shift_times(double seconds);

    // The slots written since the arrays were last sent, and forgetting them
    // once they have been.
    const SlotChanges& changes() const { return changes_; }
    void forget_changes() { changes_.clear(); }
    // Bytes of one slot's copy in the vertex and the index array.
    int slot_vertex_bytes() const { return mesh_vertex_count_ * vertex_stride * 4; }
    int slot_index_bytes() const { return mesh_index_count_ * 4; }

    int vertex_bytes() const { return vertex_count_ * vertex_stride * 4; }
    const float* vertex_data() const { return vertices_.data(); }
    int stride() const { return vertex_stride; }
    int index_bytes() const { return index_count_ * 4; }
    const std::uint32_t* index_data() const { return indices_.data(); }
    int index_count() const { return index_count_; }

    ParticleKind kind() const { return kind_; }
    int particle_count() const { return particle_count_; }
    int mesh_vertex_count() const { return mesh_vertex_count_; }
    int mesh_index_count() const { return mesh_index_count_; }
    bool is_alive(int slot) const { return alive_[slot] != 0; }
    int live_count() const;
    // Finish time of slot `slot` in seconds, read from its first vertex.
    float finish_time(int slot) const;
    const SceneMesh& mesh() const { return *mesh_; }
    // Distance of the mesh's farthest vertex from its origin, scene units:
    // the particle's mesh stays inside this sphere however it turns.
    float mesh_radius() const { return mesh_radius_; }

private:
    void build();

    ParticleKind kind_;
    std::int32_t particle_count_;
    std::vector<std::int32_t> alive_;      // 1 while the slot is live
    SlotChanges changes_;                  // slots written since the last upload
    std::vector<float> vertices_;          // vertex_count_ * vertex_stride, zero where never filled
    std::vector<std::uint32_t> indices_;   // index_count_, zero where never filled
    std::unique_ptr<SceneMesh> mesh_;      // kept for the life of the process
    std::int32_t mesh_vertex_count_ = 0;
    std::int32_t vertex_count_ = 0;
    std::int32_t mesh_index_count_ = 0;
    std::int32_t index_count_ = 0;
    float mesh_radius_ = 0.0f;             // scene units
};
