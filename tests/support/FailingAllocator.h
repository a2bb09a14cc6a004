#pragma once
#include <cstddef>

// The test programs' own operator new, which can run out of memory on
// purpose: the failing allocation is told to the player and throws, just as
// the game's allocator does when the machine really runs out.
namespace failingAllocator {

// The nth allocation from now (1 is the next) fails; 0 only counts.
void failAfter(long nth);
// The next allocation of exactly this many bytes fails.
void failSize(std::size_t bytes);
// Allocations since failAfter or failSize was called.
long counted();
// Whether the failure asked for has happened.
bool fired();
// No more failures.
void stop();

}  // namespace failingAllocator
