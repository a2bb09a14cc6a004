#pragma once
#include <cstdint>

class Combat;

// One line with every field of the match's state after a frame, in the
// order the state hash takes them, to find where two plays part.
void printStateTrace(std::uint32_t frame, std::uint32_t ms, std::uint16_t keyBits, const Combat& combat);
