// Memory a run has freed, handed back to the system.

// The allocator keeps what a big table freed for later allocations, and a block
// bigger than any it holds free is taken anew: without this, a pass that frees
// one big table and then fills another holds both.
#pragma once

namespace platform {

// Returns to the system the free memory the allocator holds, where it
// offers a way; nothing happens elsewhere.
void return_free_memory();

// From now on, every block of 128 KiB or more is taken from the system and
// given back as soon as it is freed, where the allocator lets that be
// chosen. By default glibc raises that size each time such a block is
// freed, up to 32 MB, and then keeps the big tables a pass lets go for
// blocks they do not fit.
void give_back_large_blocks();

}  // namespace platform
