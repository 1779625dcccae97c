#include "snow/static_mesh.h"

#include <meshoptimizer.h>

#include "snow/scene_mesh.h"

namespace {
// A FIFO cache of 15 entries, not the usual 16: the value this mesh is tuned for.
constexpr unsigned vertex_cache_size = 15;
// How much worse the vertex-cache result may get to save overdraw.
constexpr float overdraw_threshold = 1.05f;
} // namespace

StaticMesh::StaticMesh(int mesh_resource, int material_resource, float scale)
    : StaticMesh(new SceneMesh(mesh_resource, material_resource, scale, 1))
{
}

StaticMesh::StaticMesh(SceneMesh* mesh) : mesh_(mesh)
{
    build();
}

StaticMesh::~StaticMesh() = default;

void StaticMesh::build()
{
    vertex_count_ = mesh_->vertex_count;
    index_count_ = mesh_->index_count;
    const std::size_t vertices = static_cast<std::size_t>(vertex_count_);
    const std::size_t index_total = static_cast<std::size_t>(index_count_);
    // Zero-filled: the fetch pass leaves the entries of unused vertices unwritten.
    vertices_.assign(vertices * vertex_stride, 0.0f);
    spare_vertices_.assign(vertices * vertex_stride, 0.0f);
    indices_ = mesh_->indices;
    spare_indices_.assign(index_total, 0u);

    for (std::size_t i = 0; i < vertices; ++i) {
        float* v = &vertices_[i * vertex_stride];
        for (int n = 0; n < 3; ++n) {
            v[position_offset + n] = mesh_->positions[3 * i + n];
            v[normal_offset + n] = mesh_->normals[3 * i + n];
            v[tangent_offset + n] = mesh_->tangents[3 * i + n];
            v[bitangent_offset + n] = mesh_->bitangents[3 * i + n];
        }
        v[tex_offset + 0] = mesh_->tex_coords[2 * i + 0];
        v[tex_offset + 1] = mesh_->tex_coords[2 * i + 1];
    }

    const std::size_t vertex_size = vertex_stride * sizeof(float);
    meshopt_optimizeVertexCacheFifo(spare_indices_.data(), indices_.data(), index_total, vertices,
                                    vertex_cache_size);
    meshopt_optimizeOverdraw(indices_.data(), spare_indices_.data(), index_total, vertices_.data(),
                             vertices, vertex_size, overdraw_threshold);
    // Rewrites the indices in place; the count of vertices it used is not
    // needed, the upload covers the mesh's full count.
    meshopt_optimizeVertexFetch(spare_vertices_.data(), indices_.data(), index_total, vertices_.data(),
                                vertices, vertex_size);
    vertices_.swap(spare_vertices_);
}
