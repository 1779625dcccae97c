// Sends what a respawn pass changed in a particle batch to its buffer: the
// byte ranges of the slots spawn filled (and their indices where a slot was
// filled for the first time), or both arrays whole after the clock moved
// every slot's times. Afterwards the batch has nothing pending.
#pragma once

class BatchBuffer;
class SnowflakeBatch;

void upload_batch_changes(SnowflakeBatch& batch, const BatchBuffer& buffer);
