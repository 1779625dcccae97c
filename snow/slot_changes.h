// What a batch's arrays gained since they were last sent to the GPU, in
// slots: a respawn pass refills a few slots of each batch, and only those
// need sending. A refill rewrites a slot's vertices; its indices are the
// same as at its first fill, so they change only then.
#pragma once

#include <cstdint>
#include <vector>

#include "snow/byte_range.h"

class SlotChanges {
public:
    explicit SlotChanges(int slot_count);

    // Slot `slot` was (re)written; its indices too when it had never been.
    void note_fill(int slot);
    // Every vertex of every slot changed (the clock moved all their times):
    // the next upload sends both arrays whole.
    void note_all();
    // The arrays were just sent; nothing is pending.
    void clear();

    bool pending() const { return whole_ || any_; }
    bool whole() const { return whole_; }

    // The vertex bytes to send, for slots of `slot_bytes` each, with
    // neighbouring slots merged into one range; in increasing order.
    std::vector<ByteRange> vertex_ranges(int slot_bytes) const { return ranges(vertices_changed_, slot_bytes); }
    // The same for the index array, covering only first fills.
    std::vector<ByteRange> index_ranges(int slot_bytes) const { return ranges(indices_changed_, slot_bytes); }

private:
    static std::vector<ByteRange> ranges(const std::vector<std::uint8_t>& changed, int slot_bytes);

    std::vector<std::uint8_t> vertices_changed_; // 1 per slot rewritten since the last upload
    std::vector<std::uint8_t> indices_changed_;  // 1 per slot first filled since the last upload
    std::vector<std::uint8_t> ever_filled_;      // 1 per slot whose indices are written
    bool any_ = false;
    bool whole_ = false;
};
