// One linked GLSL program whose vertex and fragment sources come from two
// TEXTFILE resources of the executable. A source text ends at its first "~"
// (every shader resource ends with the line "//~"). Locations of uniforms
// and attributes are asked of GL once per name and then kept.
//
// A failed compilation shows the info log and which stage failed, then ends
// the process with exit code 0; so do a missing source resource and a source
// with no "~" within source_capacity characters. A failed link is not
// detected: the program then draws nothing.
//
// Every operation needs the display window's GL context to be current.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

class ShaderProgram {
public:
    // Characters of shader text a source buffer takes, before its terminator.
    static constexpr std::size_t source_capacity = 8192;
    // Bytes of each source buffer: room for the text, its NUL and a margin.
    static constexpr std::size_t source_buffer_size = 8196;

    ShaderProgram(std::uint16_t vertex_resource_id, std::uint16_t fragment_resource_id);
    ~ShaderProgram();
    ShaderProgram(const ShaderProgram&) = delete;
    ShaderProgram& operator=(const ShaderProgram&) = delete;

    // Makes this program current.
    void use() const;

    // Location of a uniform or a vertex attribute, -1 when the name is not
    // active. One cache serves both kinds and is keyed by the name alone: a
    // name asked for as one kind answers later look-ups of either kind.
    std::int32_t uniform_location(const char* name);
    std::int32_t attribute_location(const char* name);

    // Points sampler uniform `name` at texture unit `unit` and binds the GL
    // texture `texture` to GL_TEXTURE_2D on that unit. The program must be
    // current.
    void set_texture(const char* name, std::int32_t unit, std::uint32_t texture);

    std::uint32_t program_id() const { return program; }

    enum class TextStatus { complete, missing, unterminated };

    // Copies the text of TEXTFILE resource `resource_id` up to, not
    // including, its first "~" into `buffer`, followed by a NUL. `buffer`
    // holds capacity + 1 bytes. It never writes more than capacity
    // characters and the NUL, and never reads past the resource's end:
    // a missing resource leaves an empty text; a text without "~" within
    // capacity characters (or before the resource ends) is cut there and
    // reported as unterminated.
    static TextStatus load_resource_text(std::uint16_t resource_id, char* buffer, std::size_t capacity);

    // Shows the info log of a GL shader object in a "Debug" box.
    static void show_compile_log(std::uint32_t shader);

private:
    static void read_source_or_exit(std::uint16_t resource_id, char* buffer);
    static std::uint32_t compile_or_exit(std::uint32_t stage, const char* source, const char* failure_text);
    std::int32_t cached_location(const char* name, bool attribute);

    std::unique_ptr<char[]> vertex_source;   // NUL-terminated GLSL text
    std::unique_ptr<char[]> fragment_source; // NUL-terminated GLSL text
    std::uint32_t vertex_shader = 0;         // GL shader name
    std::uint32_t fragment_shader = 0;       // GL shader name
    std::uint32_t program = 0;               // GL program name
    std::map<std::string, std::int32_t, std::less<>> locations;
};
