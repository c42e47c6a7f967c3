#include "AllocationCounter.h"

#include <standin/Recorder.h>

#include <cstdlib>
#include <new>

namespace {

std::size_t allocations = 0;
std::size_t ownAllocations = 0;
int activeCounters = 0;

// The allocation that fails, counted down; 0 while no failure is armed.
std::size_t failureCountdown = 0;
bool failureHappened = false;

bool OwnAllocation()
{
    return hostAllocationScopes == 0 && !standin::InsideCall();
}

// False when this allocation is the one chosen to fail.
bool MayAllocate()
{
    if (failureCountdown == 0 || !OwnAllocation())
        return true;
    if (--failureCountdown > 0)
        return true;
    failureHappened = true;
    return false;
}

void* Allocate(std::size_t size)
{
    if (activeCounters > 0)
    {
        ++allocations;
        if (OwnAllocation())
            ++ownAllocations;
    }
    if (!MayAllocate())
        throw std::bad_alloc();
    if (void* block = std::malloc(size == 0 ? 1 : size))
        return block;
    throw std::bad_alloc();
}

}  // namespace

AllocationCounter::AllocationCounter() : start(allocations), ownStart(ownAllocations) { ++activeCounters; }
AllocationCounter::~AllocationCounter() { --activeCounters; }
std::size_t AllocationCounter::Count() const { return allocations - start; }
std::size_t AllocationCounter::OwnCount() const { return ownAllocations - ownStart; }

AllocationFailure::AllocationFailure(std::size_t nth)
{
    failureCountdown = nth;
    failureHappened = false;
}
AllocationFailure::~AllocationFailure() { failureCountdown = 0; }
bool AllocationFailure::Happened() const { return failureHappened; }

// The whole test program allocates through these, so a counter sees the
// plug-in's allocations as well as everyone else's.
void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try { return Allocate(size); } catch (const std::bad_alloc&) { return nullptr; }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    try { return Allocate(size); } catch (const std::bad_alloc&) { return nullptr; }
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
