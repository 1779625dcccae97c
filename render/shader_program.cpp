#include "render/shader_program.h"

#include "platform/platform.h"

#include <glad/gl.h>

#include <cstdio>
#include <vector>

ShaderProgram::ShaderProgram(std::uint16_t vertex_resource_id, std::uint16_t fragment_resource_id)
    : vertex_source(new char[source_buffer_size]()), fragment_source(new char[source_buffer_size]())
{
    read_source_or_exit(vertex_resource_id, vertex_source.get());
    read_source_or_exit(fragment_resource_id, fragment_source.get());

    program = glCreateProgram();
    vertex_shader = compile_or_exit(GL_VERTEX_SHADER, vertex_source.get(), "Vertex shader compilation error");
    fragment_shader =
        compile_or_exit(GL_FRAGMENT_SHADER, fragment_source.get(), "Fragment shader compilation error");
    // Locations are left to the linker and looked up by name afterwards.
    glAttachShader(program, vertex_shader);
    glAttachShader(program, fragment_shader);
    glLinkProgram(program);
}

ShaderProgram::~ShaderProgram()
{
    glDeleteShader(vertex_shader);
    glDeleteShader(fragment_shader);
    glDeleteProgram(program);
}

void ShaderProgram::use() const
{
    glUseProgram(program);
}

std::int32_t ShaderProgram::uniform_location(const char* name)
{
    return cached_location(name, false);
}

std::int32_t ShaderProgram::attribute_location(const char* name)
{
    return cached_location(name, true);
}

std::int32_t ShaderProgram::cached_location(const char* name, bool attribute)
{
    // The drawing asks for its uniforms by name every frame; only the first
    // look-up of each name reaches GL.
    auto found = locations.find(name);
    if (found != locations.end())
        return found->second;
    std::int32_t location = attribute ? glGetAttribLocation(program, name) : glGetUniformLocation(program, name);
    locations.emplace(name, location);
    return location;
}

void ShaderProgram::set_texture(const char* name, std::int32_t unit, std::uint32_t texture)
{
    glUniform1i(uniform_location(name), unit);
    glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
    glBindTexture(GL_TEXTURE_2D, texture);
}

ShaderProgram::TextStatus ShaderProgram::load_resource_text(std::uint16_t resource_id, char* buffer,
                                                            std::size_t capacity)
{
    buffer[0] = '\0';
    const char* bytes = nullptr;
    std::size_t size = 0;
    if (!platform::text_resource("TEXTFILE", resource_id, &bytes, &size))
        return TextStatus::missing;
    std::size_t length = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (bytes[i] == '~') {
            buffer[length] = '\0';
            return TextStatus::complete;
        }
        if (length == capacity)
            break;
        buffer[length++] = bytes[i];
    }
    buffer[length] = '\0';
    return TextStatus::unterminated;
}

void ShaderProgram::read_source_or_exit(std::uint16_t resource_id, char* buffer)
{
    TextStatus status = load_resource_text(resource_id, buffer, source_capacity);
    if (status == TextStatus::complete)
        return;
    char text[160];
    if (status == TextStatus::missing)
        std::snprintf(text, sizeof text, "Shader resource %u is missing", static_cast<unsigned>(resource_id));
    else
        std::snprintf(text, sizeof text, "Shader resource %u has no \"~\" end mark within %u characters",
                      static_cast<unsigned>(resource_id), static_cast<unsigned>(source_capacity));
    platform::message_box(text, "Debug", platform::MessageIcon::information);
    platform::exit_process(0);
}

void ShaderProgram::show_compile_log(std::uint32_t shader)
{
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    if (length < 0)
        length = 0;
    std::vector<char> log(static_cast<std::size_t>(length) + 1, '\0');
    glGetShaderInfoLog(shader, length + 1, nullptr, log.data());
    platform::message_box(log.data(), "Debug", platform::MessageIcon::information);
}

std::uint32_t ShaderProgram::compile_or_exit(std::uint32_t stage, const char* source, const char* failure_text)
{
    GLuint shader = glCreateShader(stage);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint status = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    if (status == 0) {
        show_compile_log(shader);
        platform::message_box(failure_text, "Debug", platform::MessageIcon::information);
        glDeleteShader(shader);
        platform::exit_process(0);
    }
    return shader;
}
