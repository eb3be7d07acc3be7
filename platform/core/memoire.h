// Memory the program has freed goes back to the system only when the allocator chooses: after a
// large result made of many small blocks is freed, the process may keep gigabytes it no longer
// uses. This asks for it back.
#pragma once

namespace talmer::platform {

// Gives the memory freed so far back to the system, as far as the allocator can (glibc:
// malloc_trim). Costs a walk over the free blocks, a few milliseconds for gigabytes: call it once
// a large result is gone, not in a loop. Does nothing where the system has no such call.
void RendMemoireLibre();

} // namespace talmer::platform
