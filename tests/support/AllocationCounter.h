#ifndef TESTS_ALLOCATIONCOUNTER_H
#define TESTS_ALLOCATIONCOUNTER_H

#include <cstddef>

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

private:
    std::size_t start;
};

#endif
