#pragma once
#include <cstdint>
#include <functional>
#include <random>
#include <string>

// Six letters nobody misreads, drawn at random: a code says nothing about
// the room or when it was opened, so the next one cannot be guessed from
// the last.
class RoomCodes {
public:
    RoomCodes();
    explicit RoomCodes(std::uint64_t seed);
    // A code `taken` does not know; empty when no free one turns up.
    std::string next(const std::function<bool(const std::string&)>& taken);

private:
    std::mt19937_64 random;
};
