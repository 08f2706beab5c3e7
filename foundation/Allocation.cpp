// Allocation.cpp: global new and delete that fail fast instead of throwing.
// Linking this replaces the runtime's throwing operator new, so nothing in the
// product needs C++ exception support, and an exhausted heap ends the process at once.
#include "FailFast.h"

#include <stdlib.h>

#include <new>

namespace {

void* allocateOrDie(size_t size)
{
    void* block = malloc(size != 0 ? size : 1);
    if (block == nullptr) {
        failFast();
    }
    return block;
}

} // namespace

void* operator new(size_t size)
{
    return allocateOrDie(size);
}

void* operator new[](size_t size)
{
    return allocateOrDie(size);
}

void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    return allocateOrDie(size);
}

void* operator new[](size_t size, const std::nothrow_t&) noexcept
{
    return allocateOrDie(size);
}

void operator delete(void* block) noexcept
{
    free(block);
}

void operator delete[](void* block) noexcept
{
    free(block);
}

void operator delete(void* block, size_t) noexcept
{
    free(block);
}

void operator delete[](void* block, size_t) noexcept
{
    free(block);
}
