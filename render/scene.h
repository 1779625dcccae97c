// The scene: every GPU object, created once by set_up_scene, and the drawing
// of one complete frame. A fixed camera looks at a colour-gradient
// rectangle far behind eight batches of tumbling snowflakes and one batch of
// soft particles; all motion happens in the vertex shaders, driven by the
// time uniform.
#pragma once

#include "render/matrix.h"
#include "render/vector.h"
#include "render/drawable_size.h"
#include "render/view.h"
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
    // The primary view's batches and buffers (see render/view.h), under the
    // names a one-monitor reader knows them by.
    SnowflakeBatch** batches = primary_view.batches;
    BatchBuffer** batch_buffers = primary_view.batch_buffers;
    StaticMesh* background_mesh = nullptr;
    BatchBuffer* background_buffer = nullptr;
    Mat4 view_projection;   // projection times view of the latest drawn view, fed to `model_view`
    Vec3 light_position;    // scene units, fed to `light_pos`
    // Set where the renderer works on the processor, which pays for every
    // vertex and pixel a GPU would shade for next to nothing: each batch
    // then draws only its slots that can show (snow/visible_slots.h), and
    // the background, opaque and behind everything, is drawn without the
    // depth test and blending, which change none of its pixels. What shows
    // stays the same; only a snowflake past its end, fully faded, no longer
    // hides the soft particles behind it.
    bool draws_only_what_shows = false;
};

// The one scene of the process; empty until set_up_scene.
extern Scene scene;

// Builds the texture, the three programs, the primary view's nine batches
// with their first particles (start time 0) and the background, and
// uploads them all. Needs the GL context current. Does not return when a
// shader or a mesh fails.
void set_up_scene();

// Builds `view`'s nine batches in scene order, places their first
// particles (starting at `start_time` seconds of scene time, drawn from the
// random generator where the earlier views left it) and uploads each into
// a new buffer, fed by the scene's programs. set_up_scene does this for
// the primary view at time 0; every further view gets its nine afterwards,
// so the primary's first population is the same with any number of
// monitors, and a monitor connected later gets its own starting then.
// Needs a context of the scene's share group current.
void set_up_view(View& view, float start_time);

// Deletes `view`'s batches and buffers (a monitor that went away) and
// leaves it empty; the shared objects stay. Needs a context of the scene's
// share group current.
void release_view(View& view);

// Draws one frame of the primary view at `time` seconds of scene time (the
// library's clock less the scene clock's offset; the clock of the
// particles' start and finish times) into the back buffer, with the
// drawable size of this moment. Does not swap.
void draw_frame(float time);

// The same for any view: its nine batch buffers in front of the shared
// background, into the current context's back buffer of the view's size.
void draw_view(float time, const View& view);

// Sends what changed in `view`'s batch `batch` (scene order) since its
// last upload to its buffer: the slots a spawn filled, or everything
// after the clock moved.
void upload_view_batch(View& view, int batch);

// upload_view_batch for the primary view.
void reupload_batch(int batch);
