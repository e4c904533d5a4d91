#include "Allocator.h"

#include <malloc.h>

void keepLargePicturesOffTheHeap()
{
    constexpr int kLargeBlock = 128 * 1024;
    constexpr int kArenas = 2;
    mallopt(M_MMAP_THRESHOLD, kLargeBlock);
    mallopt(M_ARENA_MAX, kArenas);
}
