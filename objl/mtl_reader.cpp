// MTL statements into materials. Lines keep their carriage returns here:
// arguments end in the CR, which the number conversions stop at and the
// material name trims.
#include "objl/model_reader.h"
#include "objl/resource_text.h"

#include <iterator>
#include <string>

namespace objl {

namespace {

// A line this short ("newmtl" alone, or with a CR) names no material.
constexpr std::size_t longest_unnamed_newmtl_line = 7;

// Three float fields into *colour. A line without exactly three fields
// leaves the colour as it was and is fine; false only when one of three
// fields does not convert.
bool read_colour(std::string_view line, Vector3* colour)
{
    const std::vector<std::string_view> fields = split_fields(statement_arguments(line), " ");
    if (fields.size() != 3)
        return true;
    Vector3 read;
    if (!parse_float(fields[0], &read.x) || !parse_float(fields[1], &read.y) || !parse_float(fields[2], &read.z))
        return false;
    *colour = read;
    return true;
}

} // namespace

bool ModelReader::read_materials(std::uint32_t material_resource)
{
    return read_materials_text(resource_text(material_resource));
}

bool ModelReader::read_materials_text(std::string_view mtl_text)
{
    // Collected apart so that a rejected text appends nothing.
    std::vector<Material> read;
    Material current;
    bool newmtl_seen = false;
    std::string_view rest = mtl_text;
    std::string_view line;
    while (next_line(&rest, &line)) {
        // A CR LF text leaves a CR on a keyword that stands alone. Such a
        // keyword matches nothing ("Ns\r" has no number to read, so the line
        // is skipped), except a bare "newmtl", which still starts an unnamed
        // material.
        const std::string_view keyword = statement_keyword(line);
        const std::string_view arguments = statement_arguments(line);
        bool converted = true;
        if (keyword == "newmtl" || keyword == "newmtl\r") {
            if (newmtl_seen) {
                read.push_back(std::move(current));
                current = Material();
            }
            newmtl_seen = true;
            if (line.size() <= longest_unnamed_newmtl_line)
                current.name = "none";
            else
                current.name = std::string(trim_line_breaks(arguments));
        } else if (keyword == "Ka") {
            converted = read_colour(line, &current.ambient);
        } else if (keyword == "Kd") {
            converted = read_colour(line, &current.diffuse);
        } else if (keyword == "Ks") {
            converted = read_colour(line, &current.specular);
        } else if (keyword == "Ns") {
            converted = parse_float(arguments, &current.specular_exponent);
        } else if (keyword == "Ni") {
            converted = parse_float(arguments, &current.optical_density);
        } else if (keyword == "d") {
            converted = parse_float(arguments, &current.dissolve);
        } else if (keyword == "illum") {
            converted = parse_integer(arguments, &current.illumination);
        } else if (keyword == "map_Ka") {
            current.ambient_map = std::string(arguments);
        } else if (keyword == "map_Kd") {
            current.diffuse_map = std::string(arguments);
        } else if (keyword == "map_Ks") {
            current.specular_map = std::string(arguments);
        } else if (keyword == "map_Ns") {
            current.specular_exponent_map = std::string(arguments);
        } else if (keyword == "map_d") {
            current.dissolve_map = std::string(arguments);
        } else if (keyword == "map_Bump" || keyword == "map_bump" || keyword == "bump") {
            current.bump_map = std::string(arguments);
        }
        // Malformed values reject the whole text (see model_reader.h).
        if (!converted)
            return false;
    }
    read.push_back(std::move(current));
    materials.insert(materials.end(), std::make_move_iterator(read.begin()), std::make_move_iterator(read.end()));
    return true;
}

} // namespace objl
