// The model reader's records: plain values, copied freely. They stay apart
// from the renderer's own vector types on purpose; the reader knows nothing
// of drawing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace objl {

// Model-space coordinates, texture coordinates: plain float32 pairs.
struct Vector2 {
    float x = 0.0f;
    float y = 0.0f;
};

// Positions and normals in model units; normals are not necessarily unit
// length (a computed face normal is twice the triangle's area long).
struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// One face corner. Corners are never shared between faces.
struct Vertex {
    Vector3 position;
    Vector3 normal;
    Vector2 tex_coord;
};

// One "newmtl" block of an MTL text. Map fields hold file names as text only.
struct Material {
    std::string name;
    Vector3 ambient;
    Vector3 diffuse;
    Vector3 specular;
    float specular_exponent = 0.0f;
    float optical_density = 0.0f;
    float dissolve = 0.0f;
    std::int32_t illumination = 0;
    std::string ambient_map;
    std::string diffuse_map;
    std::string specular_map;
    std::string specular_exponent_map;
    std::string dissolve_map;
    std::string bump_map;
};

// A triangle mesh: `indices` point into its own `vertices`, three per
// triangle.
struct Mesh {
    Mesh() = default;
    // Copies both lists; the name stays empty and the material default.
    Mesh(const std::vector<Vertex>& mesh_vertices, const std::vector<std::uint32_t>& mesh_indices)
        : vertices(mesh_vertices), indices(mesh_indices)
    {
    }

    std::string name;
    std::vector<Vertex> vertices;
    std::vector<std::uint32_t> indices;
    Material material;
};

} // namespace objl
