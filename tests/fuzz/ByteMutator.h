#pragma once
#include <cstdint>
#include <random>
#include <vector>

// Damages a valid input the ways files and datagrams get damaged or forged:
// bits flipped, bytes set to extremes, runs inserted, deleted or repeated,
// the input cut short, varints that claim all they can, 32-bit words set to
// huge or middling numbers. One to six changes a call.
void mutateBytes(std::vector<std::uint8_t>& bytes, std::mt19937& draws);
