// Memory a run has freed, handed back to the system. The allocator keeps
// what a big table freed for later allocations, and a block bigger than any
// it holds free is taken anew: without this, a pass that frees one big
// table and then fills another holds both.
#pragma once

namespace platform {

// Returns to the system the free memory the allocator holds, where it
// offers a way; nothing happens elsewhere.
void return_free_memory();

}  // namespace platform
