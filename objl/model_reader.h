// The model reader: Wavefront OBJ text plus its MTL text, from the
// executable's "TEXTFILE" resources or from memory, into triangle meshes with
// one vertex per face corner.
//
// Malformed input rejects the whole model: read_model returns false and
// leaves `meshes`, `all_vertices` and `all_indices` empty, so the caller
// reports a failed load instead of drawing half a model. This covers a
// number that does not convert (in the OBJ or the MTL text), a "v" or "vn"
// with fewer than three fields or a "vt" with fewer than two, a face index
// that is 0 or beyond the elements read so far, a corner reference with no
// field or more than three, a face of fewer than three corners whose normal
// must be computed, and more "usemtl" names than meshes when materials are
// bound. Statements the reader does not know are not malformed: they are
// skipped.
#pragma once

#include "objl/records.h"
#include "objl/resolve_index.h"
#include "objl/text.h"
#include "objl/vector_math.h"

#include <cstdint>
#include <iosfwd>
#include <string_view>
#include <vector>

namespace objl {

// Everything the "v", "vt" and "vn" statements of one model gave, in text
// order. Face indices refer to these lists as they stand at the face.
struct ElementLists {
    std::vector<Vector3> position_list;
    std::vector<Vector2> tex_coord_list;
    std::vector<Vector3> normal_list;
};

class ModelReader {
public:
    // Empty lists; progress text goes to standard output.
    ModelReader();

    // The meshes of the last read_model call, in the order they were
    // completed.
    std::vector<Mesh> meshes;
    // Every face corner of that model over all meshes, in text order.
    std::vector<Vertex> all_vertices;
    // That model's triangles as indices into all_vertices.
    std::vector<std::uint32_t> all_indices;
    // Every material read by read_materials; never cleared, so it grows with
    // each "mtllib" statement and each call.
    std::vector<Material> materials;

    // Reads OBJ resource `mesh_resource` with the materials of MTL resource
    // `material_resource` (low 16 bits of each number; a missing resource
    // reads as empty text). Replaces meshes, all_vertices and all_indices.
    // False when the model is malformed (see above) or yields no vertex, no
    // index and no mesh.
    bool read_model(std::uint32_t mesh_resource, std::uint32_t material_resource);

    // read_model on texts in memory: every "mtllib" statement reads
    // `mtl_text`. Nothing is copied; the texts are only read during the call.
    bool read_model_text(std::string_view obj_text, std::string_view mtl_text);

    // Appends the materials of MTL resource `material_resource` (low 16
    // bits; missing reads as empty text) to `materials`.
    bool read_materials(std::uint32_t material_resource);

    // Appends one material per "newmtl" block of `mtl_text` (at least one:
    // statements before any "newmtl" fill a material with an empty name).
    // True on success; false, with nothing appended, when a value does not
    // convert.
    bool read_materials_text(std::string_view mtl_text);

    // The corners of face statement `face_line` (an "f" line) looked up in
    // `lists`, in the line's order, into *corners (replacing its content).
    // When any corner lacks a normal, every corner gets the face normal
    // cross(c0 - c1, c2 - c1) of the first three corners, unnormalised. False
    // when a reference or an index is malformed or the normal needs three
    // corners that are not there; *corners is then unspecified.
    static bool build_face_vertices(std::string_view face_line, const ElementLists& lists,
                                    std::vector<Vertex>* corners);

    // Ear-clipping triangulation of one face into *triangles (replacing its
    // content): corner numbers 0..n-1, three per triangle, each triangle in
    // ascending order (which keeps the face's winding). Fewer than three
    // corners give nothing, three give 0, 1, 2. Stops with what it has when
    // a sweep finds no ear. Corners are told apart by number, so repeated
    // positions still give three distinct corners per triangle.
    static void triangulate_polygon(const std::vector<Vertex>& corners, std::vector<std::uint32_t>* triangles);

    // Where read_model writes its progress text (standard output until
    // changed). The stream must outlive the reader's read_model calls.
    void set_progress_stream(std::ostream& stream);

private:
    std::ostream* progress_stream;
};

} // namespace objl
