#include "snow/batch_buffer.h"

#include <glad/gl.h>

#include "render/shader_program.h"

BatchBuffer::BatchBuffer()
{
    glGenBuffers(1, &vertex_buffer_);
    glGenBuffers(1, &index_buffer_);
}

void BatchBuffer::delete_buffers()
{
    glDeleteBuffers(1, &vertex_buffer_);
    glDeleteBuffers(1, &index_buffer_);
    vertex_buffer_ = 0;
    index_buffer_ = 0;
}

void BatchBuffer::set_vertex_data(int bytes, const float* data, int stride)
{
    vertex_bytes_ = bytes;
    vertex_data_ = data;
    stride_ = stride;
}

void BatchBuffer::set_index_data(int bytes, const std::uint32_t* data, int count)
{
    index_bytes_ = bytes;
    index_data_ = data;
    index_count_ = count;
}

void BatchBuffer::add_attribute(ShaderProgram& program, const char* name, int size, int offset)
{
    if (attribute_locations_.find(name) != attribute_locations_.end())
        return;
    std::int32_t location = program.attribute_location(name);
    attribute_locations_.emplace(name, location);
    attribute_sizes_.emplace(name, size);
    attribute_offsets_.emplace(name, offset);
}

void BatchBuffer::bind() const
{
    glBindBuffer(GL_ARRAY_BUFFER, vertex_buffer_);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, index_buffer_);
}

void BatchBuffer::apply_attributes() const
{
    for (const auto& [name, location] : attribute_locations_) {
        // An attribute the program does not read has location -1; GL would
        // reject its calls without effect, so they are not made.
        if (location < 0)
            continue;
        const GLuint index = static_cast<GLuint>(location);
        const std::intptr_t byte_offset = std::intptr_t{attribute_offsets_.find(name)->second} * 4;
        glEnableVertexAttribArray(index);
        glVertexAttribPointer(index, attribute_sizes_.find(name)->second, GL_FLOAT, GL_FALSE, stride_ * 4,
                              reinterpret_cast<const void*>(byte_offset));
    }
}

void BatchBuffer::upload() const
{
    bind_for_draw();
    glBufferData(GL_ARRAY_BUFFER, vertex_bytes_, vertex_data_, GL_STATIC_DRAW);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, index_bytes_, index_data_, GL_STATIC_DRAW);
}

void BatchBuffer::reupload() const
{
    bind();
    glBufferSubData(GL_ARRAY_BUFFER, 0, vertex_bytes_, vertex_data_);
    glBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, index_bytes_, index_data_);
}

void BatchBuffer::reupload_ranges(const std::vector<ByteRange>& vertex_ranges,
                                  const std::vector<ByteRange>& index_ranges) const
{
    bind();
    const char* vertex_bytes = reinterpret_cast<const char*>(vertex_data_);
    for (const ByteRange& range : vertex_ranges)
        glBufferSubData(GL_ARRAY_BUFFER, range.offset, range.bytes, vertex_bytes + range.offset);
    const char* index_bytes = reinterpret_cast<const char*>(index_data_);
    for (const ByteRange& range : index_ranges)
        glBufferSubData(GL_ELEMENT_ARRAY_BUFFER, range.offset, range.bytes, index_bytes + range.offset);
}
