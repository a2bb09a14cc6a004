#include "net/RoomState.h"

#include <cstdio>

namespace net {

void RoomState::event(SessionEvent::Kind kind, std::uint8_t who, std::uint32_t at, const std::string& note) {
    events.push_back(SessionEvent{kind, who, at, note});
}

void RoomState::close(const std::string& why) {
    if (phase == Phase::Closed) return;
    phase = Phase::Closed;
    problem = why;
    inMatch = false;
    event(SessionEvent::Kind::Closed, kNobody, 0, why);
}

void RoomState::begin(const Start& start) {
    current = start;
    inputs.begin(start.owners);
    inMatch = true;
    hasMatch = true;
    paused = false;
    frame = 0;
}

bool RoomState::playsNow(int who) const {
    return hasMatch && who >= 0 && who < kMaxPlayingMachines && inputs.plays(who) &&
           inputs.leftAt(who) == InputTimeline::kStays;
}

void RoomState::outOfStep(const OutOfStep& out) {
    std::string hashes;
    for (int m = 0; m < kMaxPlayingMachines; ++m) {
        if (!(out.reported & (1u << m))) continue;
        char line[64];
        std::snprintf(line, sizeof line, "machine %d: %016llx\n", m + 1, static_cast<unsigned long long>(out.hashes[m]));
        hashes += line;
    }
    event(SessionEvent::Kind::OutOfStep, kNobody, out.frame, hashes);
}

}  // namespace net
