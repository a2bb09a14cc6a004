#include "StateTrace.h"

#include <cstdio>

#include "combat/Combat.h"
#include "combat/MatchState.h"

namespace {

struct Printer {
    void operator()(const char* name, double value) { std::printf(" %s=%.17g", name, value); }
    void operator()(const char* name, std::int8_t value) { std::printf(" %s=%d", name, value); }
    void operator()(const char* name, std::uint8_t value) { std::printf(" %s=%u", name, value); }
    void operator()(const char* name, std::int32_t value) { std::printf(" %s=%d", name, value); }
    void operator()(const char* name, std::uint32_t value) { std::printf(" %s=%u", name, value); }
};

}  // namespace

void printStateTrace(std::uint32_t frame, std::uint32_t ms, std::uint16_t keyBits, const Combat& combat) {
    MatchState state{};
    if (!combat.saveState(state)) {
        std::printf("state %u: more balls than a state holds\n", frame);
        return;
    }
    std::printf("state %u ms=%u keys=0x%03x hash=%016llx", frame, ms, keyBits,
                static_cast<unsigned long long>(hashMatchState(state)));
    Printer print;
    visitMatchState(state, print);
    std::printf("\n");
}
