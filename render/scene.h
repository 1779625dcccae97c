// The scene: every GPU object, created once by set_up_scene, and the drawing
// of one complete frame. A fixed camera looks at a colour-gradient
// rectangle far behind eight batches of tumbling snowflakes and one batch of
// soft particles; all motion happens in the vertex shaders, driven by the
// time uniform.
#pragma once

#include "render/matrix.h"
#include "render/vector.h"
#include "snow/scene_batches.h"

class BatchBuffer;
class MipTexture;
class ShaderProgram;
class SnowflakeBatch;
class StaticMesh;

struct Scene {
    MipTexture* snow_texture = nullptr;
    ShaderProgram* flake_program = nullptr;
    ShaderProgram* quad_program = nullptr;
    ShaderProgram* background_program = nullptr;
    SnowflakeBatch* batches[scene_batch_count] = {};
    BatchBuffer* batch_buffers[scene_batch_count] = {};
    StaticMesh* background_mesh = nullptr;
    BatchBuffer* background_buffer = nullptr;
    Mat4 view_projection;   // projection times view, fed to `model_view`
    Vec3 light_position;    // scene units, fed to `light_pos`
};

// The one scene of the process; empty until set_up_scene.
extern Scene scene;

// Builds the texture, the three programs, the nine batches with their first
// particles (start time 0) and the background, and uploads them all. Needs
// the GL context current. Does not return when a shader or a mesh fails.
void set_up_scene();

// Builds nine more batches in scene order into `batches`, places their
// first particles (start time 0, drawn from the random generator where the
// earlier ones left it) and uploads each into a new buffer in `buffers`, fed
// by the scene's programs. set_up_scene does this for the primary monitor;
// each further monitor gets nine of its own afterwards. Needs a context of
// the scene's share group current.
void set_up_batches(SnowflakeBatch** batches, BatchBuffer** buffers);

// Draws one frame at `time` seconds of scene time (the library's clock less
// the scene clock's offset; the clock of the particles' start and finish
// times) into the back buffer, with the drawable size of this moment. Does
// not swap.
void draw_frame(float time);

// The same for any monitor: the nine batch buffers `buffers` (scene order)
// in front of the shared background, into the current context's back
// buffer of `width` x `height` pixels whose aspect ratio is `aspect`.
void draw_view(float time, BatchBuffer* const* buffers, int width, int height, float aspect);

// Sends what changed in batch `batch`'s arrays since its last upload to its
// buffer: the slots a spawn filled, or everything after the clock moved.
void reupload_batch(int batch);
