// Resources linked into the binary on systems without executable resources.
// The build generates the table from the files in resources/ (see
// resources/CMakeLists.txt); the last entry has a null type.
#pragma once

namespace platform {

struct EmbeddedResource {
    const char* type_name;        // "TEXTFILE" or "BITMAP"
    int id;                       // resource number
    const unsigned char* begin;
    const unsigned char* end;     // one past the last byte
};

extern const EmbeddedResource embedded_resources[];
extern const int embedded_resource_count;

// The entry of the given type and number, or null.
const EmbeddedResource* find_embedded_resource(const char* type_name, int id);

} // namespace platform
