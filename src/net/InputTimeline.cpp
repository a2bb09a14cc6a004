#include "net/InputTimeline.h"

namespace net {

void InputTimeline::begin(const std::uint8_t (&owners)[4]) {
    for (int c = 0; c < 4; ++c) owner[c] = owners[c];
    for (int m = 0; m < kMaxPlayingMachines; ++m) {
        frames[m].clear();
        left[m] = kStays;
    }
    dwKnownLimit = kMaxFrame;
}

std::uint8_t InputTimeline::keyMask(int machine) const {
    std::uint8_t mask = 0;
    for (int c = 0; c < 4; ++c) {
        if (owner[c] == machine) mask = static_cast<std::uint8_t>(mask | (3u << (2 * c)));
    }
    return mask;
}

void InputTimeline::add(int machine, std::uint32_t frame, std::uint8_t bits) {
    if (machine < 0 || machine >= kMaxPlayingMachines) return;
    std::vector<std::uint8_t>& held = frames[machine];
    if (frame != held.size() || frame >= left[machine] || frame >= kMaxFrame) return;
    held.push_back(static_cast<std::uint8_t>(bits & keyMask(machine)));
}

std::uint32_t InputTimeline::add(int machine, std::uint32_t first, const InputRun* runs, int runCount) {
    if (machine < 0 || machine >= kMaxPlayingMachines) return 0;
    const std::uint32_t before = held(machine);
    std::uint32_t frame = first;
    for (int r = 0; r < runCount; ++r) {
        for (std::uint32_t i = 0; i < runs[r].length; ++i, ++frame) add(machine, frame, runs[r].bits);
    }
    return held(machine) - before;
}

void InputTimeline::leave(int machine, std::uint32_t frame) {
    if (machine < 0 || machine >= kMaxPlayingMachines || frame >= left[machine]) return;
    left[machine] = frame;
    if (frames[machine].size() > frame) frames[machine].resize(frame);
}

std::uint32_t InputTimeline::held(int machine) const {
    if (machine < 0 || machine >= kMaxPlayingMachines) return 0;
    return static_cast<std::uint32_t>(frames[machine].size());
}

std::uint32_t InputTimeline::leftAt(int machine) const {
    if (machine < 0 || machine >= kMaxPlayingMachines) return kStays;
    return left[machine];
}

std::uint32_t InputTimeline::confirmedBesides(int machine) const {
    std::uint32_t known = dwKnownLimit;
    for (int m = 0; m < kMaxPlayingMachines; ++m) {
        if (!plays(m) || m == machine) continue;
        // A machine that went is known to the end once all it sent is here.
        if (left[m] != kStays && held(m) >= left[m]) continue;
        if (held(m) < known) known = held(m);
    }
    return known;
}

std::uint8_t InputTimeline::keys(int machine, std::uint32_t frame) const {
    if (machine < 0 || machine >= kMaxPlayingMachines || frame >= frames[machine].size()) return 0;
    return frames[machine][frame];
}

void InputTimeline::people(std::uint32_t frame, std::uint8_t (&human)[4]) const {
    for (int c = 0; c < 4; ++c) {
        human[c] = owner[c] != kNobody && frame < left[owner[c]] ? 1 : 0;
    }
}

int InputTimeline::runsFrom(int machine, std::uint32_t first, std::uint32_t maxFrames, InputRun* runs, int maxRuns,
                            std::uint32_t maxRunLength) const {
    int count = 0;
    std::uint32_t taken = 0;
    for (std::uint32_t frame = first; frame < held(machine) && taken < maxFrames; ++frame, ++taken) {
        const std::uint8_t bits = frames[machine][frame];
        if (count > 0 && runs[count - 1].bits == bits && runs[count - 1].length < maxRunLength) {
            ++runs[count - 1].length;
        } else if (count < maxRuns) {
            runs[count++] = InputRun{1, bits};
        } else {
            break;
        }
    }
    return count;
}

void InputTimeline::addBlock(Inputs& message, int machine, std::uint32_t first) const {
    if (message.blockCount >= kMaxPlayingMachines) return;
    InputBlock& block = message.blocks[message.blockCount];
    const int runs = runsFrom(machine, first, kMaxFramesPerBlock, block.runs, kMaxRunsPerBlock, 0xFF);
    if (runs == 0) return;
    block.machine = static_cast<std::uint8_t>(machine);
    block.firstFrame = first;
    block.runCount = static_cast<std::uint8_t>(runs);
    ++message.blockCount;
}

}  // namespace net
