#pragma once
#include <cstdint>

namespace platform {

// Milliseconds of the system's monotonic clock, counted from the machine's
// start and wrapping every 2^32 ms (about 49.7 days).
std::uint32_t tickCount();

// Blocks the thread. Under a set test clock it advances that clock instead,
// so timing rules can be tested without waiting.
void sleepMilliseconds(std::uint32_t ms);

namespace testing {
// From now on tickCount answers this value until changed again.
void setTickCount(std::uint32_t ms);
void advanceTickCount(std::uint32_t ms);
// Back to the real clock.
void useRealTickCount();
bool tickCountIsSet();
// Milliseconds slept under the set clock since it was set.
std::uint32_t sleptMilliseconds();
}  // namespace testing

}  // namespace platform
