#include "snow/snowflake_batch.h"

#include <cmath>

#include "snow/random.h"
#include "snow/scene_mesh.h"

namespace {

constexpr float flake_lifetime = 20.0f; // seconds
constexpr float quad_lifetime = 30.0f;  // seconds

void write3(float* out, Vec3 v)
{
    out[0] = v.x;
    out[1] = v.y;
    out[2] = v.z;
}

} // namespace

SnowflakeBatch::SnowflakeBatch(int mesh_resource, int material_resource, float scale,
                               int particle_count, ParticleKind kind)
    : SnowflakeBatch(new SceneMesh(mesh_resource, material_resource, scale, particle_count), particle_count, kind)
{
}

SnowflakeBatch::SnowflakeBatch(SceneMesh* mesh, int particle_count, ParticleKind kind)
    : kind_(kind), particle_count_(particle_count < 0 ? 0 : particle_count), changes_(particle_count_), mesh_(mesh)
{
    build();
}

SnowflakeBatch::~SnowflakeBatch() = default;

void SnowflakeBatch::build()
{
    mesh_vertex_count_ = mesh_->vertex_count;
    mesh_index_count_ = mesh_->index_count;
    // 64-bit products: a model too big for 32-bit byte counts is refused
    // like an unreadable one rather than overflowing.
    const std::int64_t vertices = std::int64_t{mesh_vertex_count_} * particle_count_;
    const std::int64_t index_total = std::int64_t{mesh_index_count_} * particle_count_;
    if (vertices * vertex_stride * 4 > INT32_MAX || index_total * 4 > INT32_MAX)
        fail_to_load_mesh();
    vertex_count_ = static_cast<std::int32_t>(vertices);
    index_count_ = static_cast<std::int32_t>(index_total);
    alive_.assign(particle_count_, 0);
    // Zero-filled: a slot never filled is a heap of degenerate triangles at
    // vertex 0 that draws nothing and refers to nothing outside the buffer.
    vertices_.assign(static_cast<std::size_t>(vertex_count_) * vertex_stride, 0.0f);
    indices_.assign(static_cast<std::size_t>(index_count_), 0u);
    for (std::size_t at = 0; at + 2 < mesh_->positions.size(); at += 3) {
        const float* p = &mesh_->positions[at];
        mesh_radius_ = std::fmax(mesh_radius_, std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]));
    }
}

void SnowflakeBatch::place_particle(float x, float y, float z, Vec3 move_direction,
                                    Vec3 rotation_angles, Vec3 times, int slot)
{
    if (slot < 0 || slot >= particle_count_)
        return;
    alive_[slot] = 1;
    changes_.note_fill(slot);
    const Vec3 translation{x, y, z};
    const float* positions = mesh_->positions.data();
    const float* tex_coords = mesh_->tex_coords.data();
    const float* normals = mesh_->normals.data();
    const std::size_t first_vertex = static_cast<std::size_t>(slot) * mesh_vertex_count_;
    for (std::int32_t i = 0; i < mesh_vertex_count_; ++i) {
        float* vertex = &vertices_[(first_vertex + i) * vertex_stride];
        vertex[position_offset + 0] = positions[3 * i + 0];
        vertex[position_offset + 1] = positions[3 * i + 1];
        vertex[position_offset + 2] = positions[3 * i + 2];
        write3(vertex + translation_offset, translation);
        vertex[tex_offset + 0] = tex_coords[2 * i + 0];
        vertex[tex_offset + 1] = tex_coords[2 * i + 1];
        vertex[normal_offset + 0] = normals[3 * i + 0];
        vertex[normal_offset + 1] = normals[3 * i + 1];
        vertex[normal_offset + 2] = normals[3 * i + 2];
        write3(vertex + move_direction_offset, move_direction);
        write3(vertex + rotation_angles_offset, rotation_angles);
        write3(vertex + time_offset, times);
    }
    const std::uint32_t base = static_cast<std::uint32_t>(first_vertex);
    std::uint32_t* out = &indices_[static_cast<std::size_t>(slot) * mesh_index_count_];
    for (std::int32_t j = 0; j < mesh_index_count_; ++j)
        out[j] = base + mesh_->indices[j];
}

int SnowflakeBatch::spawn(float now, int limit)
{
    int result = 0;
    int remaining = limit;
    if (remaining < 1)
        return 0;
    for (int p = 0; p < particle_count_; ++p) {
        if (alive_[p] == 0) {
            // The order of the draws fixes which numbers of the sequence
            // feed which parameter.
            if (kind_ == ParticleKind::Flake) {
                const Vec3 spin = random_axis_spin(1.0f);
                const float mz = random_range(-1.0f, 1.0f);
                const float my = random_range(-6.0f, -4.0f);
                const float mx = random_range(-1.0f, 1.0f);
                const float z = random_range(-5.0f, -50.0f);
                const float y = random_range(50.0f, 60.0f);
                const float x = random_range(-50.0f, 50.0f);
                place_particle(x, y, z, Vec3{mx, my, mz}, spin, Vec3{now, now + flake_lifetime, 0.0f}, p);
            } else {
                const float mz = random_range(-1.0f, 1.0f);
                const float my = random_range(-6.0f, -4.0f);
                const float mx = random_range(-2.0f, 2.0f);
                const float z = random_range(-60.0f, -160.0f);
                const float y = random_range(100.0f, 160.0f);
                const float x = random_range(-150.0f, 150.0f);
                place_particle(x, y, z, Vec3{mx, my, mz}, Vec3{0.0f, 0.0f, 0.0f},
                               Vec3{now, now + quad_lifetime, 0.0f}, p);
            }
            alive_[p] = 1;
            --remaining;
            result = 1;
        }
        if (remaining == 0)
            break;
    }
    return result;
}

void SnowflakeBatch::expire(float now)
{
    for (int p = 0; p < particle_count_; ++p)
        if (alive_[p] == 1 && now >= finish_time(p))
            alive_[p] = 0;
}

void SnowflakeBatch::shift_times(double seconds)
{
    for (std::size_t at = time_offset; at + 1 < vertices_.size(); at += vertex_stride) {
        vertices_[at] = static_cast<float>(vertices_[at] - seconds);
        vertices_[at + 1] = static_cast<float>(vertices_[at + 1] - seconds);
    }
    changes_.note_all();
}

float SnowflakeBatch::finish_time(int slot) const
{
    const std::size_t at = static_cast<std::size_t>(slot) * mesh_vertex_count_ * vertex_stride + time_offset + 1;
    // A mesh always has vertices (SceneMesh refuses an empty one); guard anyway.
    return at < vertices_.size() ? vertices_[at] : 0.0f;
}

int SnowflakeBatch::live_count() const
{
    int n = 0;
    for (std::int32_t a : alive_)
        n += a;
    return n;
}
