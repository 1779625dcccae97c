// Arbitrary bytes as an OBJ text and its MTL text: the part before the first
// separator line "=====" is the model, the rest its materials. Whatever the
// reader accepts must hold only in-range triangles.
#include "objl/model_reader.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string_view>

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void check_triangles(const std::vector<std::uint32_t>& indices, std::size_t vertex_count)
{
    check(indices.size() % 3 == 0);
    for (std::uint32_t index : indices)
        check(index < vertex_count);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string_view separator = "\n=====\n";
    const std::size_t split = input.find(separator);
    const std::string_view obj = input.substr(0, split);
    const std::string_view mtl = split == std::string_view::npos ? std::string_view() : input.substr(split + separator.size());

    std::ostringstream progress;
    objl::ModelReader reader;
    reader.set_progress_stream(progress);
    if (reader.read_model_text(obj, mtl)) {
        check_triangles(reader.all_indices, reader.all_vertices.size());
        for (const objl::Mesh& mesh : reader.meshes)
            check_triangles(mesh.indices, mesh.vertices.size());
    } else {
        check(reader.meshes.empty());
    }
    return 0;
}
