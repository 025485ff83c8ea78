#include "AllocationTracker.h"

#include <malloc.h>

#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

// The benchmarks run on one thread; the counters need no atomics.
bool Counting = false;
std::int64_t InUse = 0;
std::int64_t Peak = 0;

void* Allocate(std::size_t Size, std::size_t Alignment = 0)
{
    if (Size == 0) Size = 1;
    void* Block = Alignment > alignof(std::max_align_t) ? std::aligned_alloc(Alignment, (Size + Alignment - 1) / Alignment * Alignment)
                                                        : std::malloc(Size);
    if (Block == nullptr) throw std::bad_alloc();
    if (Counting) {
        InUse += static_cast<std::int64_t>(malloc_usable_size(Block));
        if (InUse > Peak) Peak = InUse;
    }
    return Block;
}

void Release(void* Block) noexcept
{
    if (Block == nullptr) return;
    if (Counting) InUse -= static_cast<std::int64_t>(malloc_usable_size(Block));
    std::free(Block);
}

}  // namespace

namespace quoril_bench {

void StartAllocationCount()
{
    InUse = 0;
    Peak = 0;
    Counting = true;
}

std::int64_t StopAllocationCount()
{
    Counting = false;
    return Peak;
}

}  // namespace quoril_bench

void* operator new(std::size_t Size) { return Allocate(Size); }
void* operator new[](std::size_t Size) { return Allocate(Size); }
void* operator new(std::size_t Size, std::align_val_t Alignment) { return Allocate(Size, static_cast<std::size_t>(Alignment)); }
void* operator new[](std::size_t Size, std::align_val_t Alignment) { return Allocate(Size, static_cast<std::size_t>(Alignment)); }

void* operator new(std::size_t Size, const std::nothrow_t&) noexcept
{
    try { return Allocate(Size); } catch (...) { return nullptr; }
}
void* operator new[](std::size_t Size, const std::nothrow_t&) noexcept
{
    try { return Allocate(Size); } catch (...) { return nullptr; }
}

void operator delete(void* Block) noexcept { Release(Block); }
void operator delete[](void* Block) noexcept { Release(Block); }
void operator delete(void* Block, std::size_t) noexcept { Release(Block); }
void operator delete[](void* Block, std::size_t) noexcept { Release(Block); }
void operator delete(void* Block, std::align_val_t) noexcept { Release(Block); }
void operator delete[](void* Block, std::align_val_t) noexcept { Release(Block); }
void operator delete(void* Block, std::size_t, std::align_val_t) noexcept { Release(Block); }
void operator delete[](void* Block, std::size_t, std::align_val_t) noexcept { Release(Block); }
void operator delete(void* Block, const std::nothrow_t&) noexcept { Release(Block); }
void operator delete[](void* Block, const std::nothrow_t&) noexcept { Release(Block); }
