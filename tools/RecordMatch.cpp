#include "RecordMatch.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "HeadlessStage.h"
#include "replay/InputScript.h"
#include "SimOptions.h"
#include "combat/Combat.h"
#include "combat/MatchKeys.h"
#include "platform/SafeSave.h"
#include "replay/GameFingerprint.h"
#include "replay/ReplayRecorder.h"
#include "replay/ReplayWriter.h"

namespace {

// A recorded match says where it came from; a script's is the same every
// time it is recorded, so that recording it again changes nothing.
const char kScriptBuildId[] = "script";

bool readScript(const std::string& path, InputScript& script) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "quadrill-sim: cannot read %s\n", path.c_str());
        return false;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string error;
    if (!parseInputScript(text, script, error)) {
        std::fprintf(stderr, "quadrill-sim: %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    return true;
}

replay::MatchEnd endOf(Combat::FrameResult result) {
    switch (result) {
        case Combat::FrameResult::kOver:
            return replay::MatchEnd::kOver;
        case Combat::FrameResult::kLeft:
            return replay::MatchEnd::kLeft;
        default:
            return replay::MatchEnd::kCutShort;
    }
}

const char* nameOf(replay::MatchEnd end) {
    switch (end) {
        case replay::MatchEnd::kOver:
            return "over";
        case replay::MatchEnd::kLeft:
            return "left with Escape";
        default:
            return "cut short";
    }
}

}  // namespace

bool recordMatch(const SimOptions& options, HeadlessStage& stage) {
    InputScript script;
    if (!readScript(options.scriptPath, script)) return false;
    stage.random.seed(script.seed);
    PlayerSetup setup;
    for (int colour = 0; colour < 4; ++colour) setup.bHuman[colour] = script.seats[colour].isPerson() ? 1 : 0;
    setup.levels = script.levels;
    const MatchRandom::State start = stage.random.state();
    Combat combat(stage.display, nullptr, stage.random, stage.misc, setup, stage.logger);
    combat.setFrameDrawing(false);
    if (!combat.load()) {
        std::fprintf(stderr, "quadrill-sim: the match could not be loaded\n");
        return false;
    }
    // Scripts of people and Normal computers keep the older format under the
    // script's build id, byte for byte; strengths need the fingerprinted one.
    replay::ReplayRecorder recorder =
        script.levels.allNormal()
            ? replay::ReplayRecorder(script.seats, start, script.date, replay::GameFingerprint::gameVersion(),
                                     std::string(kScriptBuildId))
            : replay::ReplayRecorder(script.seats, start, script.date, replay::GameFingerprint::gameVersion(),
                                     replay::GameFingerprint::own(stage.display, stage.misc, stage.logger));
    recorder.setLevels(script.levels);
    MatchRandom times;
    times.seed(script.timeSeed);

    Combat::FrameResult result = Combat::FrameResult::kGoing;
    for (const InputScript::Step& step : script.steps) {
        std::uint8_t keys[256];
        matchKeys::unpack(step.keyBits, keys);
        for (std::uint32_t played = 0; result == Combat::FrameResult::kGoing; ++played) {
            if (step.until == InputScript::Until::kFrames && played == step.frames) break;
            if (step.until == InputScript::Until::kOver && combat.isMatchOver()) break;
            if (recorder.frameCount() >= options.maxFrames) break;
            const std::uint32_t span = step.msHigh - step.msLow;
            const std::uint64_t draw = static_cast<std::uint64_t>(times.next());
            const std::uint32_t ms = step.msLow + static_cast<std::uint32_t>(draw % (std::uint64_t{span} + 1));
            result = combat.playFrame(keys, ms);
            recorder.addFrame(ms, keys, combat);
        }
    }
    replay::Replay recorded;
    if (!recorder.finish(endOf(result), combat, recorded)) {
        std::fprintf(stderr, "quadrill-sim: the script plays no frame to record\n");
        return false;
    }
    const std::vector<std::uint8_t> bytes = replay::writeReplay(recorded);
    // Saved as the game saves its replays: a recording killed half way
    // leaves the old replay whole, never an empty or half-written file.
    std::string reason;
    if (!platform::saveFileSafely(options.recordPath, std::string(bytes.begin(), bytes.end()), reason)) {
        std::fprintf(stderr, "quadrill-sim: could not write %s: %s\n", options.recordPath.c_str(), reason.c_str());
        return false;
    }
    const std::int32_t* scores = recorded.scores;
    std::printf("%s: scores %d %d %d %d, %u frames, %s, %zu bytes\n", options.recordPath.c_str(), scores[0], scores[1],
                scores[2], scores[3], recorded.frameCount, nameOf(recorded.end), bytes.size());
    return true;
}
