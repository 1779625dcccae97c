#include "render/scene.h"

#include <glad/gl.h>

#include <cstddef>
#include <vector>

#include "render/drawable_size.h"
#include "render/mip_texture.h"
#include "render/shader_program.h"
#include "snow/batch_buffer.h"
#include "snow/batch_upload.h"
#include "snow/snowflake_batch.h"
#include "snow/static_mesh.h"
#include "snow/visible_slots.h"

Scene scene;

namespace {

// Mip levels of the particle mask, 1x1 first, 128x128 last.
constexpr int snow_texture_bitmaps[] = {121, 120, 119, 118, 117, 116, 115, 103};

constexpr float field_of_view = 50.0f;     // degrees, vertical
constexpr float near_plane = 0.1f;         // scene units
constexpr float far_plane = 1000.0f;       // scene units
constexpr float camera_distance = 20.0f;   // scene units: the camera sits at (0, 0, 20)
constexpr Vec3 light_at{100.0f, 100.0f, 10.0f}; // scene units

void add_particle_attributes(BatchBuffer& buffer, ShaderProgram& program)
{
    buffer.add_attribute(program, "position", 3, SnowflakeBatch::position_offset);
    buffer.add_attribute(program, "position_translation", 3, SnowflakeBatch::translation_offset);
    buffer.add_attribute(program, "position_tex", 2, SnowflakeBatch::tex_offset);
    buffer.add_attribute(program, "position_normal", 3, SnowflakeBatch::normal_offset);
    buffer.add_attribute(program, "move_direction", 3, SnowflakeBatch::move_direction_offset);
    buffer.add_attribute(program, "rotation_angles", 3, SnowflakeBatch::rotation_angles_offset);
    buffer.add_attribute(program, "time_start_finish_zero", 3, SnowflakeBatch::time_offset);
}

void draw(const BatchBuffer& buffer)
{
    buffer.bind_for_draw();
    glDrawElements(GL_TRIANGLES, buffer.index_count(), GL_UNSIGNED_INT, nullptr);
}

// All of `batch`'s slots, or with draws_only_what_shows those that can show
// at `time`, one call per run of neighbouring slots.
void draw_batch(const BatchBuffer& buffer, const SnowflakeBatch& batch, float time)
{
    if (!scene.draws_only_what_shows) {
        draw(buffer);
        return;
    }
    static std::vector<SlotRun> runs; // kept between frames: no allocation per frame
    find_visible_slots(batch, time, scene.view_projection, runs);
    buffer.bind_for_draw();
    for (const SlotRun& run : runs) {
        const std::size_t first_byte = static_cast<std::size_t>(run.first_slot) * batch.slot_index_bytes();
        glDrawElements(GL_TRIANGLES, run.slot_count * batch.mesh_index_count(), GL_UNSIGNED_INT,
                       reinterpret_cast<const void*>(first_byte));
    }
}

// Texture, time and camera: the uniforms every pass sets.
void set_common_uniforms(ShaderProgram& program, float time)
{
    program.use();
    program.set_texture("s", 0, scene.snow_texture->texture_id());
    glUniform1f(program.uniform_location("iTime"), time);
    glUniformMatrix4fv(program.uniform_location("model_view"), 1, GL_FALSE, scene.view_projection.data());
}

} // namespace

void set_up_scene()
{
    scene.snow_texture = new MipTexture(snow_texture_bitmaps, 8);
    // Shaders before meshes: a shader error ends the run before any model loads.
    scene.flake_program = new ShaderProgram(105, 106);
    scene.quad_program = new ShaderProgram(139, 138);
    scene.background_program = new ShaderProgram(137, 136);

    set_up_view(primary_view, 0.0f);

    scene.background_mesh = new StaticMesh(background_mesh_resource, background_material_resource, background_scale);
    const StaticMesh& mesh = *scene.background_mesh;
    BatchBuffer* buffer = new BatchBuffer();
    buffer->set_vertex_data(mesh.vertex_bytes(), mesh.vertex_data(), mesh.stride());
    buffer->set_index_data(mesh.index_bytes(), mesh.index_data(), mesh.index_count());
    buffer->add_attribute(*scene.background_program, "position", 3, StaticMesh::position_offset);
    buffer->add_attribute(*scene.background_program, "position_tex", 2, StaticMesh::tex_offset);
    buffer->add_attribute(*scene.background_program, "position_normal", 3, StaticMesh::normal_offset);
    buffer->upload();
    scene.background_buffer = buffer;
}

void set_up_view(View& view, float start_time)
{
    SnowflakeBatch** batches = view.batches;
    for (int i = 0; i < scene_batch_count; ++i) {
        const BatchSpec& spec = scene_batch_specs[i];
        batches[i] = new SnowflakeBatch(spec.mesh_resource, spec.material_resource, spec.scale,
                                        spec.particle_count, spec.kind);
    }
    for (int i = 0; i < scene_batch_count; ++i) {
        SnowflakeBatch& batch = *batches[i];
        // At the start of a run time 0, not the clock: the set-up's
        // particles are placed before the generator is seeded and are the
        // same on every run.
        batch.spawn(start_time, scene_batch_specs[i].setup_limit);
        BatchBuffer* buffer = new BatchBuffer();
        buffer->set_vertex_data(batch.vertex_bytes(), batch.vertex_data(), batch.stride());
        buffer->set_index_data(batch.index_bytes(), batch.index_data(), batch.index_count());
        ShaderProgram& program =
            batch.kind() == ParticleKind::Flake ? *scene.flake_program : *scene.quad_program;
        add_particle_attributes(*buffer, program);
        buffer->upload();
        batch.forget_changes(); // sent whole just now
        view.batch_buffers[i] = buffer;
    }
}

void release_view(View& view)
{
    for (int i = 0; i < scene_batch_count; ++i) {
        if (view.batch_buffers[i])
            view.batch_buffers[i]->delete_buffers();
        delete view.batch_buffers[i];
        delete view.batches[i];
        view.batch_buffers[i] = nullptr;
        view.batches[i] = nullptr;
    }
}

void draw_frame(float time)
{
    draw_view(time, primary_view);
}

void draw_view(float time, const View& view)
{
    glViewport(0, 0, view.window_width, view.window_height);
    scene.view_projection = perspective(field_of_view, view.aspect_ratio, near_plane, far_plane) *
                            translate(0.0f, 0.0f, -camera_distance);
    scene.light_position = light_at;
    // The clear colour stays GL's default: the background covers the view.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    // The background goes first and fills the depth buffer far behind the
    // snow (or, drawing only what shows, leaves it cleared: it is behind
    // everything anyway).
    set_common_uniforms(*scene.background_program, time);
    if (scene.draws_only_what_shows) {
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
    }
    draw(*scene.background_buffer);
    if (scene.draws_only_what_shows) {
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_BLEND);
    }

    set_common_uniforms(*scene.flake_program, time);
    glUniform3fv(scene.flake_program->uniform_location("light_pos"), 1, scene.light_position.data());
    for (int i = 0; i < scene_batch_count - 1; ++i)
        draw_batch(*view.batch_buffers[i], *view.batches[i], time);

    // Soft particles last: a flake in front hides them through the depth test.
    const int quads = scene_batch_count - 1;
    set_common_uniforms(*scene.quad_program, time);
    glUniform3fv(scene.quad_program->uniform_location("light_pos"), 1, scene.light_position.data());
    draw_batch(*view.batch_buffers[quads], *view.batches[quads], time);
}

void upload_view_batch(View& view, int batch)
{
    upload_batch_changes(*view.batches[batch], *view.batch_buffers[batch]);
}

void reupload_batch(int batch)
{
    upload_view_batch(primary_view, batch);
}
