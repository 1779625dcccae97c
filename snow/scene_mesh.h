// A model turned into flat float arrays that the batches copy from:
// positions (scaled), texture coordinates, unit normals, and per-triangle
// unit tangents and bitangents, plus the index list. Built once, never
// changed afterwards.
#pragma once

#include <cstdint>
#include <vector>

#include "objl/model_reader.h"

class SceneMesh {
public:
    // Loads OBJ text `mesh_resource` with MTL text `material_resource` and
    // multiplies the positions by `scale`. `copies` is how many copies of
    // the mesh its owner lays out (a batch's slot count, 1 for a single
    // mesh): the arrays of all copies must stay countable in 32-bit bytes.
    // A model that cannot be read, that holds no usable triangle mesh or
    // that is too big for its copies shows "Failed to load mesh" and ends
    // the process with exit code 0.
    SceneMesh(int mesh_resource, int material_resource, float scale, int copies);

    // The same conversion from meshes already read (the reader's `meshes`);
    // the last mesh is the one kept. Fails like the constructor above.
    SceneMesh(const std::vector<objl::Mesh>& meshes, float scale, int copies);

    SceneMesh(const SceneMesh&) = delete;
    SceneMesh& operator=(const SceneMesh&) = delete;

    std::vector<float> positions;          // 3 per vertex, scene units (scaled)
    std::vector<float> tex_coords;         // 2 per vertex
    std::vector<float> normals;            // 3 per vertex, unit length
    std::vector<float> tangents;           // 3 per vertex, of the last triangle using it
    std::vector<float> bitangents;         // 3 per vertex, likewise
    std::vector<std::uint32_t> indices;    // 3 per triangle
    std::int32_t vertex_count = 0;
    std::int32_t index_count = 0;
    float scale = 1.0f;

private:
    // False when there is no mesh, no triangle, a partial triangle or an
    // index outside the mesh's vertices: nothing later may read outside.
    bool convert(const std::vector<objl::Mesh>& meshes, int copies);
    void compute_tangents();
    void apply_scale();
};

// Shows "Failed to load mesh" (caption "Debug") and ends the process with
// exit code 0.
[[noreturn]] void fail_to_load_mesh();
