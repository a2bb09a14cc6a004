#pragma once
#include <cstdint>
#include <string>

#include "RelayLimits.h"

// The relay's command line: where it listens and what it allows.
struct RelayOptions {
    enum class Action { Run, Help, Version, Usage };
    Action action = Action::Run;
    std::string error;
    std::string address;  // empty: every address of the machine
    std::uint16_t port = 28251;
    RelayLimits limits;
    // Every this many seconds a line of figures: rooms, connections,
    // messages, and how long messages stayed; 0 for none.
    std::uint32_t statsEverySeconds = 0;

    static RelayOptions parse(int argc, const char* const* argv);
    static const char* usage();
    static const char* versionLine();
};
