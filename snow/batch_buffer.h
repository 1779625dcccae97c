// The GPU side of one particle batch or of the background mesh: a vertex
// buffer, an index buffer and the table of vertex attributes that feed the
// program. There is no vertex array object: the attribute pointers are set
// again at every bind for drawing. The CPU arrays belong to the owner and
// must outlive the buffer; a respawn writes into those same arrays and the
// next re-upload sends their new contents.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "snow/byte_range.h"

class ShaderProgram;

class BatchBuffer {
public:
    // Generates the two GL buffer names. Needs the GL context current, as
    // does every operation below that talks to GL.
    BatchBuffer();
    BatchBuffer(const BatchBuffer&) = delete;
    BatchBuffer& operator=(const BatchBuffer&) = delete;

    // Gives the two GL buffer names back, before the buffer is deleted with
    // the view it belonged to. Needs a context of their share group current.
    void delete_buffers();

    // The owner's vertex array: `bytes` long, `stride` floats per vertex. No GL call.
    void set_vertex_data(int bytes, const float* data, int stride);
    // The owner's index array: `bytes` long, `count` 32-bit indices drawn. No GL call.
    void set_index_data(int bytes, const std::uint32_t* data, int count);

    // Feeds attribute `name` of `program` with `size` floats found `offset`
    // floats into each vertex. A name registered before keeps its first
    // values.
    void add_attribute(ShaderProgram& program, const char* name, int size, int offset);

    // Binds the vertex buffer, then the index buffer.
    void bind() const;
    // Enables and points every attribute, in name order.
    void apply_attributes() const;
    void bind_for_draw() const { bind(); apply_attributes(); }

    // First transfer of both arrays (GL_STATIC_DRAW), after bind_for_draw.
    void upload() const;
    // Sends both arrays again, whole, from offset 0; attributes untouched.
    void reupload() const;
    // Sends only the given ranges of the vertex and of the index array, one
    // write each; attributes untouched.
    void reupload_ranges(const std::vector<ByteRange>& vertex_ranges, const std::vector<ByteRange>& index_ranges) const;

    int index_count() const { return index_count_; }
    std::uint32_t vertex_buffer() const { return vertex_buffer_; }
    std::uint32_t index_buffer() const { return index_buffer_; }

    // The registered attributes by name: location, component count, float offset.
    const std::map<std::string, std::int32_t, std::less<>>& attribute_locations() const
    {
        return attribute_locations_;
    }
    const std::map<std::string, std::int32_t, std::less<>>& attribute_sizes() const { return attribute_sizes_; }
    const std::map<std::string, std::int32_t, std::less<>>& attribute_offsets() const
    {
        return attribute_offsets_;
    }

private:
    std::uint32_t vertex_buffer_ = 0;  // GL buffer name, GL_ARRAY_BUFFER
    std::uint32_t index_buffer_ = 0;   // GL buffer name, GL_ELEMENT_ARRAY_BUFFER
    const float* vertex_data_ = nullptr;
    std::int32_t vertex_bytes_ = 0;
    std::int32_t stride_ = 0;          // floats per vertex
    std::map<std::string, std::int32_t, std::less<>> attribute_locations_;
    std::map<std::string, std::int32_t, std::less<>> attribute_sizes_;    // floats
    std::map<std::string, std::int32_t, std::less<>> attribute_offsets_;  // floats into the vertex
    const std::uint32_t* index_data_ = nullptr;
    std::int32_t index_bytes_ = 0;
    std::int32_t index_count_ = 0;
};
