#include "replay/MatchRecording.h"

#include <cstdio>

#include "app/PlayerSetup.h"
#include "replay/BuildStamp.h"

namespace replay {
namespace {

struct Seats {
    explicit Seats(const PlayerSetup& setup) {
        for (int colour = 0; colour < 4; ++colour) {
            if (setup.bHuman[colour]) seat[colour].device = Device::kKeyboard;
        }
    }
    Seat seat[4];
};

}  // namespace

MatchRecording::MatchRecording(const PlayerSetup& setup, const MatchRandom::State& start, const std::string& folder)
    : archive(folder),
      started(std::time(nullptr)),
      recorder(Seats(setup).seat, start, static_cast<std::int64_t>(started), gameVersion(), buildId()) {}

void MatchRecording::addFrame(std::uint32_t ms, const std::uint8_t* keys, const Combat& combat) {
    recorder.addFrame(ms, keys, combat);
}

std::string MatchRecording::file(MatchEnd end, const Combat& combat) {
    Replay replay;
    if (!recorder.finish(end, combat, replay)) return "";
    std::string name;
    std::string reason;
    if (!archive.store(replay, started, name, reason)) {
        std::fprintf(stderr, "quadrill: the match's replay was not kept in %s: %s\n", archive.folder().c_str(),
                     reason.c_str());
        return "";
    }
    return name;
}

void MatchRecording::keepForGood(const std::string& name, int row, std::int32_t score) {
    std::string reason;
    if (!archive.keepForGood(name, row, score, reason)) {
        std::fprintf(stderr, "quadrill: %s could not be kept for good: %s\n", name.c_str(), reason.c_str());
    }
}

}  // namespace replay
