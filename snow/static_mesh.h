// A single copy of a mesh (the background rectangle) as one interleaved
// 14-float vertex array, reordered by meshoptimizer for the vertex cache,
// overdraw and vertex fetch.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class SceneMesh;

class StaticMesh {
public:
    // Float offsets inside the 14-float (56-byte) vertex.
    static constexpr int vertex_stride = 14;
    static constexpr int position_offset = 0;   // 3, scene units
    static constexpr int tex_offset = 3;        // 2
    static constexpr int normal_offset = 5;     // 3, unit length
    static constexpr int tangent_offset = 8;    // 3, unit length, not bound to the shaders
    static constexpr int bitangent_offset = 11; // 3, likewise

    // Loads its mesh (ending the process if that fails) and builds the arrays.
    StaticMesh(int mesh_resource, int material_resource, float scale);
    // The same around a mesh that is already built; takes it over.
    explicit StaticMesh(SceneMesh* mesh);

    ~StaticMesh();
    StaticMesh(const StaticMesh&) = delete;
    StaticMesh& operator=(const StaticMesh&) = delete;

    int vertex_bytes() const { return vertex_count_ * vertex_stride * 4; }
    const float* vertex_data() const { return vertices_.data(); }
    int stride() const { return vertex_stride; }
    int index_bytes() const { return index_count_ * 4; }
    const std::uint32_t* index_data() const { return indices_.data(); }
    int index_count() const { return index_count_; }
    int vertex_count() const { return vertex_count_; }

    // The vertices in the mesh's own order (the fetch pass's input).
    const std::vector<float>& spare_vertices() const { return spare_vertices_; }
    const SceneMesh& mesh() const { return *mesh_; }

private:
    void build();

    std::vector<float> vertices_;               // as uploaded: fetch order
    std::vector<float> spare_vertices_;         // mesh order after build
    std::vector<std::uint32_t> indices_;        // as uploaded
    std::vector<std::uint32_t> spare_indices_;  // output of the vertex-cache pass
    std::unique_ptr<SceneMesh> mesh_;           // kept for the life of the process
    std::int32_t vertex_count_ = 0;
    std::int32_t index_count_ = 0;
};
