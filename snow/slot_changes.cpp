#include "snow/slot_changes.h"

SlotChanges::SlotChanges(int slot_count)
    : vertices_changed_(slot_count > 0 ? slot_count : 0, 0),
      indices_changed_(vertices_changed_.size(), 0),
      ever_filled_(vertices_changed_.size(), 0)
{
}

void SlotChanges::note_fill(int slot)
{
    if (slot < 0 || static_cast<std::size_t>(slot) >= vertices_changed_.size())
        return;
    vertices_changed_[slot] = 1;
    if (!ever_filled_[slot]) {
        ever_filled_[slot] = 1;
        indices_changed_[slot] = 1;
    }
    any_ = true;
}

void SlotChanges::note_all()
{
    whole_ = true;
}

void SlotChanges::clear()
{
    vertices_changed_.assign(vertices_changed_.size(), 0);
    indices_changed_.assign(indices_changed_.size(), 0);
    any_ = false;
    whole_ = false;
}

std::vector<ByteRange> SlotChanges::ranges(const std::vector<std::uint8_t>& changed, int slot_bytes)
{
    std::vector<ByteRange> out;
    const std::int32_t count = static_cast<std::int32_t>(changed.size());
    for (std::int32_t slot = 0; slot < count;) {
        if (!changed[slot]) {
            ++slot;
            continue;
        }
        std::int32_t end = slot + 1;
        while (end < count && changed[end])
            ++end;
        // The batch keeps every byte count of its arrays within 32 bits.
        out.push_back(ByteRange{slot * slot_bytes, (end - slot) * slot_bytes});
        slot = end;
    }
    return out;
}
