#pragma once
#include <cstddef>

// When memory runs out the player is told how much was asked for, the
// window is asked to close, and the allocation ends the operation that made
// it with std::bad_alloc; the main loop catches that at the edge of the
// operation and closes the game in order.
[[noreturn]] void reportOutOfMemory(std::size_t size);

// The text shown, for a given size (at most 99 characters).
const char* outOfMemoryText(std::size_t size, char (&buffer)[100]);
