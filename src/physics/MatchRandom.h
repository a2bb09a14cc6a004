#pragma once
#include <cstdint>

// The match's pseudo-random numbers: the same sequence as the C library's
// rand() on glibc (its additive-feedback generator with the 16807 seeding),
// but with all of its state in one plain value that can be saved, compared
// and put back. The C library's own state is hidden, so a match drawn from
// it could be neither recorded nor replayed.
class MatchRandom {
public:
    static constexpr int kDegree = 31;
    static constexpr int kSeparation = 3;
    // The largest value of draw(): the match uses numbers from 0 to 32767.
    static constexpr int kDrawMax = 32767;

    // Everything the sequence depends on. `table` is the feedback register;
    // the next number adds table[rear] to table[front].
    struct State {
        std::int32_t table[kDegree];
        std::uint8_t front;
        std::uint8_t rear;
    };

    // Seeded as srand(1) would be, which is also what rand() does unseeded.
    MatchRandom();

    void seed(std::uint32_t value);
    // The next number of glibc's rand(): 0 to 2^31 - 1.
    std::int32_t next();
    // The next number as the match draws it: 0 to kDrawMax.
    int draw() { return next() & kDrawMax; }

    const State& state() const { return current; }
    void setState(const State& state) { current = state; }
    // True for a state that seeding and drawing can reach the shape of:
    // both places in the table, the front three ahead of the rear.
    static bool isWellFormed(const State& state);

private:
    State current;
};
