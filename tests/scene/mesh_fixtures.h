// Small meshes written inside the tests, turned into SceneMesh objects
// without any resource.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "objl/model_reader.h"
#include "snow/scene_mesh.h"

// One objl vertex per position triple; normals (0, 0, 2) (not unit, as the
// reader's computed normals are not) and texture coordinates from `uv`
// when given, else zero.
inline objl::Mesh make_objl_mesh(std::initializer_list<float> xyz, std::initializer_list<std::uint32_t> indices,
                                 std::initializer_list<float> uv = {})
{
    std::vector<objl::Vertex> vertices;
    const float* p = xyz.begin();
    const float* t = uv.begin();
    for (std::size_t i = 0; i + 2 < xyz.size(); i += 3) {
        objl::Vertex v;
        v.position = {p[i], p[i + 1], p[i + 2]};
        v.normal = {0.0f, 0.0f, 2.0f};
        if (uv.size() >= (i / 3) * 2 + 2)
            v.tex_coord = {t[(i / 3) * 2], t[(i / 3) * 2 + 1]};
        vertices.push_back(v);
    }
    return objl::Mesh(vertices, std::vector<std::uint32_t>(indices));
}

// `copies`: the slot count of the batch the mesh is for.
inline SceneMesh* make_scene_mesh(const objl::Mesh& mesh, float scale = 1.0f, int copies = 1)
{
    return new SceneMesh(std::vector<objl::Mesh>{mesh}, scale, copies);
}

// Four corners of a unit square, two triangles sharing the edge 1-2:
// indices 0, 1, 2, 3, 2, 1.
inline SceneMesh* make_square_mesh()
{
    return make_scene_mesh(make_objl_mesh({0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0}, {0, 1, 2, 3, 2, 1},
                                          {0, 0, 1, 0, 0, 1, 1, 1}));
}
