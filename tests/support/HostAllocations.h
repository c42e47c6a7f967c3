#ifndef TESTS_HOSTALLOCATIONS_H
#define TESTS_HOSTALLOCATIONS_H

// How many HostAllocations are alive; an AllocationFailure spares the
// allocations made meanwhile. Header-only, so that the host side of the
// tests (the recording logger) needs nothing of the unit tests' allocator.
inline int hostAllocationScopes = 0;

// Marks the allocations made during its life as the host's own (a logger's,
// say), not the plug-in's.
class HostAllocations
{
public:
    HostAllocations() { ++hostAllocationScopes; }
    ~HostAllocations() { --hostAllocationScopes; }
    HostAllocations(const HostAllocations&) = delete;
    HostAllocations& operator=(const HostAllocations&) = delete;
};

#endif
