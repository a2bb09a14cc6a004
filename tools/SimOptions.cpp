#include "SimOptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

// Whole decimal numbers only: no sign, no trailing characters, no overflow.
bool readNumber(const char* text, std::uint64_t low, std::uint64_t high, std::uint64_t& value) {
    if (text == nullptr || *text < '0' || *text > '9') return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long long parsed = std::strtoull(text, &end, 10);
    if (errno != 0 || *end != '\0' || parsed < low || parsed > high) return false;
    value = parsed;
    return true;
}

// Four strengths, comma-separated, green first: "hard,normal,normal,easy".
bool readLevels(const char* text, ComputerLevels& levels) {
    if (text == nullptr) return false;
    const std::string list(text);
    std::size_t from = 0;
    for (int colour = 0; colour < 4; ++colour) {
        const std::size_t comma = list.find(',', from);
        if ((colour < 3) != (comma != std::string::npos)) return false;
        const std::string word = list.substr(from, colour < 3 ? comma - from : std::string::npos);
        ComputerLevel strength = ComputerLevel::kNormal;
        if (!parseComputerLevel(word.c_str(), strength)) return false;
        levels.set(colour, strength);
        from = comma + 1;
    }
    return true;
}

}  // namespace

const char* simUsage() {
    return "usage: quadrill-sim --matches N --seed S --step MS [--humans none] [--levels G,Y,R,B]\n"
           "                    [--no-draw] [--trace] [--snapshot FILE.bmp [--snapshot-frame F]] [--max-frames F]\n"
           "       quadrill-sim --verify REPLAY... [--trace] [--snapshot FILE.bmp --snapshot-frame F]\n"
           "       quadrill-sim --record REPLAY --script SCRIPT [--max-frames F]\n"
           "Plays N matches of four computer players headless, the clock advancing MS ms a frame,\n"
           "each colour (green, yellow, red, blue) at the strength --levels gives: easy, normal\n"
           "(the default) or hard;\n"
           "or plays recorded matches again and checks them (one line each, OK or the first frame\n"
           "that differs; --trace prints the whole state after every frame); or records the match\n"
           "of an input script (the format is in src/replay/InputScript.h).\n";
}

bool parseSimOptions(int argc, char** argv, SimOptions& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const char* name = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        std::uint64_t number = 0;
        auto needNumber = [&](std::uint64_t low, std::uint64_t high) {
            if (!readNumber(value, low, high, number)) {
                error = std::string(name) + " wants a whole number from " + std::to_string(low) + " to " +
                        std::to_string(high);
                return false;
            }
            ++i;
            return true;
        };
        if (std::strcmp(name, "--matches") == 0) {
            if (!needNumber(0, 1000000)) return false;
            options.matches = static_cast<std::uint32_t>(number);
        } else if (std::strcmp(name, "--seed") == 0) {
            if (!needNumber(0, 0xFFFFFFFFu)) return false;
            options.seed = static_cast<unsigned int>(number);
        } else if (std::strcmp(name, "--step") == 0) {
            // A step of 0 would never end the start pause.
            if (!needNumber(1, 60000)) return false;
            options.stepMs = static_cast<std::uint32_t>(number);
        } else if (std::strcmp(name, "--snapshot-frame") == 0) {
            if (!needNumber(1, UINT64_MAX)) return false;
            options.snapshotFrame = number;
        } else if (std::strcmp(name, "--max-frames") == 0) {
            if (!needNumber(1, UINT64_MAX)) return false;
            options.maxFrames = number;
        } else if (std::strcmp(name, "--humans") == 0) {
            // People would need keys; headless, every paddle is the computer's.
            if (value == nullptr || std::strcmp(value, "none") != 0) {
                error = "--humans takes only \"none\"";
                return false;
            }
            ++i;
        } else if (std::strcmp(name, "--levels") == 0) {
            if (!readLevels(value, options.levels)) {
                error = "--levels wants four of easy, normal, hard, comma-separated, green first";
                return false;
            }
            ++i;
        } else if (std::strcmp(name, "--snapshot") == 0) {
            if (value == nullptr || *value == '\0') {
                error = "--snapshot wants a file name";
                return false;
            }
            options.snapshotPath = value;
            ++i;
        } else if (std::strcmp(name, "--verify") == 0) {
            while (i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0) options.verifyPaths.push_back(argv[++i]);
            if (options.verifyPaths.empty()) {
                error = "--verify wants one or more replay files";
                return false;
            }
        } else if (std::strcmp(name, "--record") == 0 || std::strcmp(name, "--script") == 0) {
            if (value == nullptr || *value == '\0') {
                error = std::string(name) + " wants a file name";
                return false;
            }
            (name[2] == 'r' ? options.recordPath : options.scriptPath) = value;
            ++i;
        } else if (std::strcmp(name, "--no-draw") == 0) {
            options.draw = false;
        } else if (std::strcmp(name, "--trace") == 0) {
            options.trace = true;
        } else {
            error = std::string("unknown option ") + name;
            return false;
        }
    }
    if (options.recordPath.empty() != options.scriptPath.empty()) {
        error = "--record and --script go together";
        return false;
    }
    if (!options.recordPath.empty() && !options.verifyPaths.empty()) {
        error = "record or verify, not both at once";
        return false;
    }
    return true;
}
