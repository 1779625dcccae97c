#include "snow/batch_upload.h"

#include "snow/batch_buffer.h"
#include "snow/snowflake_batch.h"

void upload_batch_changes(SnowflakeBatch& batch, const BatchBuffer& buffer)
{
    const SlotChanges& changes = batch.changes();
    if (changes.whole())
        buffer.reupload();
    else if (changes.pending())
        buffer.reupload_ranges(changes.vertex_ranges(batch.slot_vertex_bytes()),
                               changes.index_ranges(batch.slot_index_bytes()));
    batch.forget_changes();
}
