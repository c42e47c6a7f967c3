#ifndef TESTS_ALLOCATIONCOUNTER_H
#define TESTS_ALLOCATIONCOUNTER_H

#include <cstddef>

#include "HostAllocations.h"

// Counts calls of the global operator new (every form) made in this process
// while a counter is alive.
class AllocationCounter
{
public:
    AllocationCounter();
    ~AllocationCounter();
    AllocationCounter(const AllocationCounter&) = delete;
    AllocationCounter& operator=(const AllocationCounter&) = delete;

    // Allocations since construction.
    std::size_t Count() const;
    // Those of them made by the code under test: not inside a stand-in
    // operation and not by the host (see HostAllocations).
    std::size_t OwnCount() const;

private:
    std::size_t start;
    std::size_t ownStart;
};

// While alive, the nth allocation (1-based) from construction on fails: the
// throwing forms of operator new throw std::bad_alloc, the nothrow forms
// return null. Allocations made inside a stand-in operation or while a
// HostAllocations lives are the platform's or the host's and are neither
// counted nor failed. One at a time.
class AllocationFailure
{
public:
    explicit AllocationFailure(std::size_t nth);
    ~AllocationFailure();
    AllocationFailure(const AllocationFailure&) = delete;
    AllocationFailure& operator=(const AllocationFailure&) = delete;

    // Whether the nth allocation came (and failed).
    bool Happened() const;
};

#endif
