// OBJ statements into meshes. One vertex per face corner; faces before the
// first "o"/"g" line join the first group's mesh; materials are bound to
// meshes by the position of their "usemtl" statements.
#include "objl/model_reader.h"
#include "objl/resource_text.h"

#include <iostream>
#include <string>

namespace objl {

namespace {

// A progress line every this many text lines after a group or material
// change.
constexpr unsigned progress_period = 1000;

// A line with every CR removed together with the character after it (so a
// CR LF line end, or a CR in the middle, takes its neighbour along). Returns
// a view of `line` when only a final CR goes, else the cleaned copy in
// *buffer.
std::string_view erase_carriage_returns(std::string_view line, std::string* buffer)
{
    const std::size_t first = line.find('\r');
    if (first == std::string_view::npos)
        return line;
    if (first + 1 == line.size())
        return line.substr(0, first);  // the usual CR LF line end
    buffer->clear();
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\r')
            ++i;  // drop the CR and whatever follows it
        else
            buffer->push_back(line[i]);
    }
    return *buffer;
}

// The first `count` fields of the statement's arguments as floats. False when
// there are fewer fields or one of them does not convert.
bool read_floats(std::string_view line, std::size_t count, float* values)
{
    std::size_t fields = 0;
    bool converted = true;
    for_each_field(statement_arguments(line), " ", [&](std::string_view field) {
        if (fields < count && converted)
            converted = parse_float(field, &values[fields]);
        ++fields;
    });
    return converted && fields >= count;
}

// The working state of one read_model call.
class ObjText {
public:
    ObjText(ModelReader* model_reader, std::string_view material_text, std::ostream* progress_stream)
        : reader(model_reader), mtl_text(material_text), progress(progress_stream)
    {
    }

    // Interprets one line (carriage returns already removed). False when it
    // is malformed.
    bool read_line(std::string_view line);

    // Ends the text: closes the last mesh and binds the materials. False
    // when there are more material names than meshes.
    bool finish();

private:
    void write_progress();
    void end_progress_line();
    void close_mesh(const std::string& name);
    bool has_open_mesh() const { return !current_indices.empty() && !current_vertices.empty(); }

    void read_boundary(std::string_view line, std::string_view keyword);
    bool read_face(std::string_view line);
    void read_usemtl(std::string_view line);

    ModelReader* reader;
    std::string_view mtl_text;
    std::ostream* progress;

    ElementLists lists;
    std::vector<Vertex> current_vertices;
    std::vector<std::uint32_t> current_indices;
    std::vector<std::string> material_names;
    bool grouping = false;
    std::string current_name;
    unsigned progress_counter = progress_period;
    std::vector<Vertex> face_corners;           // reused by every face
    std::vector<std::uint32_t> face_triangles;  // reused by every face
};

bool ObjText::read_line(std::string_view line)
{
    progress_counter = (progress_counter + 1) % progress_period;
    if (progress_counter == 1 && !current_name.empty())
        write_progress();

    const std::string_view keyword = statement_keyword(line);
    if (keyword == "o" || keyword == "g" || (!line.empty() && line[0] == 'g')) {
        read_boundary(line, keyword);
    } else if (keyword == "v") {
        float xyz[3];
        if (!read_floats(line, 3, xyz))
            return false;
        lists.position_list.push_back(Vector3{xyz[0], xyz[1], xyz[2]});
    } else if (keyword == "vt") {
        float xy[2];
        if (!read_floats(line, 2, xy))
            return false;
        lists.tex_coord_list.push_back(Vector2{xy[0], xy[1]});
    } else if (keyword == "vn") {
        float xyz[3];
        if (!read_floats(line, 3, xyz))
            return false;
        lists.normal_list.push_back(Vector3{xyz[0], xyz[1], xyz[2]});
    } else if (keyword == "f") {
        return read_face(line);
    } else if (keyword == "usemtl") {
        read_usemtl(line);
    } else if (keyword == "mtllib") {
        // The statement's own file name is not looked at: the material text
        // of the model pair is read, once per statement.
        return reader->read_materials_text(mtl_text);
    }
    return true;
}

void ObjText::read_boundary(std::string_view line, std::string_view keyword)
{
    const bool named = keyword == "o" || keyword == "g";
    const std::string_view arguments = statement_arguments(line);
    if (!grouping) {
        // Corners read before the first group stay and join its mesh.
        grouping = true;
        current_name = named ? std::string(arguments) : std::string("unnamed");
    } else if (has_open_mesh()) {
        close_mesh(current_name);
        current_name = std::string(arguments);
    } else {
        // An "o" line right before a "g" line makes one mesh, named by the
        // later line.
        current_name = named ? std::string(arguments) : std::string("unnamed");
    }
    end_progress_line();
    progress_counter = 0;
}

bool ObjText::read_face(std::string_view line)
{
    if (!ModelReader::build_face_vertices(line, lists, &face_corners))
        return false;
    current_vertices.insert(current_vertices.end(), face_corners.begin(), face_corners.end());
    reader->all_vertices.insert(reader->all_vertices.end(), face_corners.begin(), face_corners.end());

    ModelReader::triangulate_polygon(face_corners, &face_triangles);
    const std::size_t corners = face_corners.size();
    const std::size_t current_first = current_vertices.size() - corners;
    const std::size_t all_first = reader->all_vertices.size() - corners;
    for (std::uint32_t corner : face_triangles) {
        current_indices.push_back(static_cast<std::uint32_t>(current_first + corner));
        reader->all_indices.push_back(static_cast<std::uint32_t>(all_first + corner));
    }
    return true;
}

void ObjText::read_usemtl(std::string_view line)
{
    material_names.push_back(std::string(statement_arguments(line)));
    if (has_open_mesh()) {
        // A material change inside a group ends that group's mesh. The name
        // is not made unique: no model of ours changes material inside a
        // group, and nothing looks meshes up by name.
        close_mesh(current_name + "_2");
    }
    progress_counter = 0;
}

void ObjText::close_mesh(const std::string& name)
{
    // The lists move into the mesh: they are emptied right after anyway.
    Mesh mesh;
    mesh.name = name;
    mesh.vertices = std::move(current_vertices);
    mesh.indices = std::move(current_indices);
    reader->meshes.push_back(std::move(mesh));
    current_vertices.clear();
    current_indices.clear();
}

void ObjText::write_progress()
{
    *progress << "\r- " << current_name << "\t| vertices > " << lists.position_list.size() << "\t| texcoords > "
              << lists.tex_coord_list.size() << "\t| normals > " << lists.normal_list.size() << "\t| triangles > "
              << current_vertices.size() / 3;
    if (!material_names.empty())
        *progress << "\t| material: " << material_names.back();
}

void ObjText::end_progress_line()
{
    *progress << std::endl;
}

bool ObjText::finish()
{
    end_progress_line();
    if (has_open_mesh())
        close_mesh(current_name);

    // The k-th "usemtl" names the material of the k-th mesh; the first
    // material of that name wins.
    std::vector<Mesh>& meshes = reader->meshes;
    if (material_names.size() > meshes.size())
        return false;
    for (std::size_t k = 0; k < material_names.size(); ++k) {
        for (const Material& material : reader->materials) {
            if (material.name == material_names[k]) {
                meshes[k].material = material;
                break;
            }
        }
    }
    return true;
}

} // namespace

ModelReader::ModelReader()
    : progress_stream(&std::cout)
{
}

void ModelReader::set_progress_stream(std::ostream& stream)
{
    progress_stream = &stream;
}

bool ModelReader::read_model(std::uint32_t mesh_resource, std::uint32_t material_resource)
{
    return read_model_text(resource_text(mesh_resource), resource_text(material_resource));
}

bool ModelReader::read_model_text(std::string_view obj_text, std::string_view mtl_text)
{
    meshes.clear();
    all_vertices.clear();
    all_indices.clear();

    ObjText text(this, mtl_text, progress_stream);
    std::string cleaned;  // reused for lines that hold a CR
    std::string_view rest = obj_text;
    std::string_view raw_line;
    bool well_formed = true;
    while (well_formed && next_line(&rest, &raw_line))
        well_formed = text.read_line(erase_carriage_returns(raw_line, &cleaned));
    well_formed = text.finish() && well_formed;

    if (!well_formed) {
        meshes.clear();
        all_vertices.clear();
        all_indices.clear();
        return false;
    }
    return !(meshes.empty() && all_vertices.empty() && all_indices.empty());
}

bool ModelReader::build_face_vertices(std::string_view face_line, const ElementLists& lists,
                                      std::vector<Vertex>* corners)
{
    corners->clear();
    bool well_formed = true;
    bool needs_face_normal = false;
    for_each_field(statement_arguments(face_line), " ", [&](std::string_view reference) {
        if (!well_formed)
            return;
        std::string_view fields[3];
        std::size_t count = 0;
        for_each_field(reference, "/", [&](std::string_view field) {
            if (count < 3)
                fields[count] = field;
            ++count;
        });
        Vertex corner;
        switch (count) {
        case 1:  // p
            well_formed = resolve_index(lists.position_list, fields[0], &corner.position);
            needs_face_normal = true;
            break;
        case 2:  // p/t
            well_formed = resolve_index(lists.position_list, fields[0], &corner.position) &&
                          resolve_index(lists.tex_coord_list, fields[1], &corner.tex_coord);
            needs_face_normal = true;
            break;
        case 3:  // p/t/n, or p//n
            well_formed = resolve_index(lists.position_list, fields[0], &corner.position) &&
                          (fields[1].empty() || resolve_index(lists.tex_coord_list, fields[1], &corner.tex_coord)) &&
                          resolve_index(lists.normal_list, fields[2], &corner.normal);
            break;
        default:  // no field, or more than three
            well_formed = false;
            break;
        }
        if (well_formed)
            corners->push_back(corner);
    });
    if (!well_formed)
        return false;
    if (needs_face_normal) {
        if (corners->size() < 3)
            return false;
        const Vector3& c0 = (*corners)[0].position;
        const Vector3& c1 = (*corners)[1].position;
        const Vector3& c2 = (*corners)[2].position;
        const Vector3 normal = cross_product(c0 - c1, c2 - c1);
        for (Vertex& corner : *corners)
            corner.normal = normal;
    }
    return true;
}

} // namespace objl
