#include "platform/core/memoire.h"

// Any C library header says which library it is (glibc defines __GLIBC__).
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace talmer::platform {

void RendMemoireLibre()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace talmer::platform
