#include "snow/scene_mesh.h"

#include <cmath>
#include <limits>

#include "platform/platform.h"

namespace {

// A particle batch's vertex, the largest any owner lays out.
constexpr std::size_t largest_vertex_bytes = 80;

// Sum of squares from 0 in the order x, y, z, in single precision.
float length3(float x, float y, float z)
{
    float sum = 0.0f;
    sum += x * x;
    sum += y * y;
    sum += z * z;
    return std::sqrt(sum);
}

// Writes (x, y, z) divided by its length at `out`.
void write_unit(float* out, float x, float y, float z)
{
    float length = length3(x, y, z);
    out[0] = x / length;
    out[1] = y / length;
    out[2] = z / length;
}

} // namespace

void fail_to_load_mesh()
{
    platform::message_box("Failed to load mesh", "Debug", platform::MessageIcon::information);
    platform::exit_process(0);
}

SceneMesh::SceneMesh(int mesh_resource, int material_resource, float mesh_scale, int copies)
    : scale(mesh_scale)
{
    bool loaded = false;
    {
        objl::ModelReader reader;
        if (reader.read_model(static_cast<std::uint32_t>(mesh_resource),
                              static_cast<std::uint32_t>(material_resource)))
            loaded = convert(reader.meshes, copies);
    }
    if (!loaded)
        fail_to_load_mesh();
    apply_scale();
}

SceneMesh::SceneMesh(const std::vector<objl::Mesh>& meshes, float mesh_scale, int copies)
    : scale(mesh_scale)
{
    if (!convert(meshes, copies))
        fail_to_load_mesh();
    apply_scale();
}

bool SceneMesh::convert(const std::vector<objl::Mesh>& meshes, int copies)
{
    if (meshes.empty())
        return false;
    // Each mesh replaces the arrays of the one before, so only the last one
    // counts; every model of the scene holds exactly one.
    const objl::Mesh& mesh = meshes.back();
    const std::size_t vertices = mesh.vertices.size();
    const std::size_t index_total = mesh.indices.size();
    // The owner multiplies these by its number of copies, of vertices of up
    // to 20 floats (80 bytes), and still counts bytes in 32 bits: a 5-slot
    // batch may hold a mesh forty times the size a 200-slot one may.
    const std::size_t copy_count = copies < 1 ? 1 : static_cast<std::size_t>(copies);
    const std::size_t most =
        static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()) / (copy_count * largest_vertex_bytes);
    if (vertices == 0 || index_total == 0 || index_total % 3 != 0 || vertices > most || index_total > most)
        return false;
    for (std::uint32_t index : mesh.indices)
        if (index >= vertices)
            return false;

    vertex_count = static_cast<std::int32_t>(vertices);
    index_count = static_cast<std::int32_t>(index_total);
    positions.assign(vertices * 3, 0.0f);
    tex_coords.assign(vertices * 2, 0.0f);
    normals.assign(vertices * 3, 0.0f);
    tangents.assign(vertices * 3, 0.0f);
    bitangents.assign(vertices * 3, 0.0f);
    for (std::size_t i = 0; i < vertices; ++i) {
        const objl::Vertex& v = mesh.vertices[i];
        positions[3 * i + 0] = v.position.x;
        positions[3 * i + 1] = v.position.y;
        positions[3 * i + 2] = v.position.z;
        // A zero normal comes only from a degenerate triangle, which draws
        // nothing; keep it zero instead of dividing by zero.
        if (length3(v.normal.x, v.normal.y, v.normal.z) > 0.0f)
            write_unit(&normals[3 * i], v.normal.x, v.normal.y, v.normal.z);
        tex_coords[2 * i + 0] = v.tex_coord.x;
        tex_coords[2 * i + 1] = v.tex_coord.y;
    }
    indices = mesh.indices;
    compute_tangents();
    return true;
}

void SceneMesh::compute_tangents()
{
    // Runs on unscaled positions; a uniform scale would not change the unit
    // results anyway. Texture coordinates that are all equal (the snowflake
    // models have none) give a zero divisor and non-finite tangents, which
    // are never drawn: the snowflake batches do not copy tangents.
    for (std::int32_t k = 0; k + 2 < index_count; k += 3) {
        const std::uint32_t a = indices[k], b = indices[k + 1], c = indices[k + 2];
        const float* p0 = &positions[3 * a];
        const float* p1 = &positions[3 * b];
        const float* p2 = &positions[3 * c];
        const float* t0 = &tex_coords[2 * a];
        const float* t1 = &tex_coords[2 * b];
        const float* t2 = &tex_coords[2 * c];
        const float e1[3] = {p1[0] - p0[0], p1[1] - p0[1], p1[2] - p0[2]};
        const float e2[3] = {p2[0] - p0[0], p2[1] - p0[1], p2[2] - p0[2]};
        const float d1[2] = {t1[0] - t0[0], t1[1] - t0[1]};
        const float d2[2] = {t2[0] - t0[0], t2[1] - t0[1]};
        const float r = 1.0f / (d1[0] * d2[1] - d2[0] * d1[1]);
        float tangent[3], bitangent[3];
        for (int n = 0; n < 3; ++n) {
            tangent[n] = (e1[n] * d2[1] - e2[n] * d1[1]) * r;
            bitangent[n] = (e2[n] * d1[0] - e1[n] * d2[0]) * r;
        }
        write_unit(tangent, tangent[0], tangent[1], tangent[2]);
        write_unit(bitangent, bitangent[0], bitangent[1], bitangent[2]);
        for (std::uint32_t vertex : {a, b, c})
            for (int n = 0; n < 3; ++n) {
                tangents[3 * vertex + n] = tangent[n];
                bitangents[3 * vertex + n] = bitangent[n];
            }
    }
}

void SceneMesh::apply_scale()
{
    for (float& p : positions)
        p *= scale;
}
