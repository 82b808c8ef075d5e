#include "platform/memory.h"

#include <cstdlib>  // defines __GLIBC__ where it is glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace vinkring {

void returnLargeBlocksAtOnce()
{
#if defined(__GLIBC__)
    // glibc's initial threshold; setting it keeps it there.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
}

}  // namespace vinkring
