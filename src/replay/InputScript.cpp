#include "replay/InputScript.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "combat/MatchKeys.h"

namespace {

// Expanded repeats may not make more steps than this.
constexpr std::size_t kMaxSteps = 1000000;

const char* const kColours[4] = {"green", "yellow", "red", "blue"};
const char* const kKeyNames[9] = {"green-up", "green-down", "yellow-left", "yellow-right", "red-up",
                                  "red-down", "blue-left",  "blue-right",  "escape"};

bool number(const std::string& word, std::uint64_t high, std::uint64_t& value) {
    if (word.empty() || word[0] < '0' || word[0] > '9') return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long long parsed = std::strtoull(word.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || parsed > high) return false;
    value = parsed;
    return true;
}

int colourOf(const std::string& word) {
    for (int colour = 0; colour < 4; ++colour) {
        if (word == kColours[colour]) return colour;
    }
    return -1;
}

class Parser {
public:
    explicit Parser(InputScript& out) : script(out) {}

    bool line(std::vector<std::string> words, std::string& error) {
        const std::string& verb = words[0];
        std::uint64_t value = 0;
        ComputerLevel strength = ComputerLevel::kNormal;
        if (verb == "seed" && words.size() == 2 && number(words[1], 0xFFFFFFFFu, value)) {
            script.seed = static_cast<std::uint32_t>(value);
        } else if (verb == "timeseed" && words.size() == 2 && number(words[1], 0xFFFFFFFFu, value)) {
            script.timeSeed = static_cast<std::uint32_t>(value);
        } else if (verb == "date" && words.size() == 2 && number(words[1], INT64_MAX, value)) {
            script.date = static_cast<std::int64_t>(value);
        } else if (verb == "person") {
            return person(words, error);
        } else if (verb == "computer" && words.size() == 3 && colourOf(words[1]) >= 0 &&
                   parseComputerLevel(words[2].c_str(), strength)) {
            script.levels.set(colourOf(words[1]), strength);
        } else if (verb == "ms" && words.size() == 2) {
            return frameTime(words[1], error);
        } else if (verb == "hold" && words.size() >= 2) {
            return hold(words, error);
        } else if (verb == "play" && words.size() == 3 && words[1] == "until" &&
                   (words[2] == "over" || words[2] == "end")) {
            return add(words[2] == "over" ? InputScript::Until::kOver : InputScript::Until::kEnd, 0, error);
        } else if (verb == "play" && words.size() == 2 && number(words[1], replay::kMaxFrames, value) && value > 0) {
            return add(InputScript::Until::kFrames, static_cast<std::uint32_t>(value), error);
        } else if (verb == "wait" && words.size() == 3 && words[1] == "colours" && number(words[2], 4, value)) {
            script.waitColours = static_cast<int>(value);
        } else if (verb == "wait" && words.size() == 3 && words[1] == "spectators" && number(words[2], 8, value)) {
            script.waitSpectators = static_cast<int>(value);
        } else if (verb == "repeat" && words.size() == 2 && number(words[1], 1000000, value)) {
            repeats.push_back(Repeat{script.steps.size(), static_cast<std::size_t>(value)});
        } else if (verb == "end" && words.size() == 1 && !repeats.empty()) {
            return endRepeat(error);
        } else {
            error = "cannot make sense of \"" + verb + "\" here";
            return false;
        }
        return true;
    }

    bool finish(std::string& error) {
        if (!repeats.empty()) {
            error = "a repeat has no end";
            return false;
        }
        return true;
    }

private:
    struct Repeat {
        std::size_t firstStep;
        std::size_t times;
    };

    bool person(const std::vector<std::string>& words, std::string& error) {
        const int colour = words.size() >= 3 ? colourOf(words[1]) : -1;
        std::uint64_t index = 0;
        replay::Seat seat;
        if (colour >= 0 && words.size() == 3 && words[2] == "keyboard") {
            seat.device = replay::Device::kKeyboard;
        } else if (colour >= 0 && words.size() == 4 && (words[2] == "pad" || words[2] == "network") &&
                   number(words[3], 255, index)) {
            seat.device = words[2] == "pad" ? replay::Device::kPad : replay::Device::kNetwork;
            seat.number = static_cast<std::uint8_t>(index);
        } else {
            error = "a person is a colour and keyboard, pad N or network N";
            return false;
        }
        script.seats[colour] = seat;
        return true;
    }

    bool frameTime(const std::string& word, std::string& error) {
        const std::size_t dash = word.find('-');
        std::uint64_t low = 0;
        std::uint64_t high = 0;
        const bool ok = dash == std::string::npos
                            ? number(word, 0xFFFFFFFFu, low) && (high = low, true)
                            : number(word.substr(0, dash), 0xFFFFFFFFu, low) &&
                                  number(word.substr(dash + 1), 0xFFFFFFFFu, high) && low <= high;
        if (!ok) {
            error = "a frame time is N or LOW-HIGH milliseconds";
            return false;
        }
        msLow = static_cast<std::uint32_t>(low);
        msHigh = static_cast<std::uint32_t>(high);
        return true;
    }

    bool hold(const std::vector<std::string>& words, std::string& error) {
        std::uint8_t human[4];
        for (int colour = 0; colour < 4; ++colour) human[colour] = script.seats[colour].isPerson() ? 1 : 0;
        const std::uint16_t allowed = matchKeys::peopleMask(human);
        std::uint16_t bits = 0;
        for (std::size_t i = 1; i < words.size(); ++i) {
            if (words[i] == "none" && words.size() == 2) break;
            int key = -1;
            for (int k = 0; k < 9; ++k) {
                if (words[i] == kKeyNames[k]) key = k;
            }
            if (key < 0 || (allowed & (1u << key)) == 0) {
                error = "\"" + words[i] + "\" is not a key a person here holds";
                return false;
            }
            bits = static_cast<std::uint16_t>(bits | (1u << key));
        }
        keyBits = bits;
        return true;
    }

    bool add(InputScript::Until until, std::uint32_t frames, std::string& error) {
        if (script.steps.size() >= kMaxSteps) {
            error = "too many steps";
            return false;
        }
        script.steps.push_back(InputScript::Step{until, frames, keyBits, msLow, msHigh});
        return true;
    }

    bool endRepeat(std::string& error) {
        const Repeat repeat = repeats.back();
        repeats.pop_back();
        const std::vector<InputScript::Step> body(script.steps.begin() + static_cast<std::ptrdiff_t>(repeat.firstStep),
                                                  script.steps.end());
        if (repeat.times == 0) script.steps.resize(repeat.firstStep);
        for (std::size_t round = 1; round < repeat.times; ++round) {
            if (script.steps.size() + body.size() > kMaxSteps) {
                error = "too many steps";
                return false;
            }
            script.steps.insert(script.steps.end(), body.begin(), body.end());
        }
        return true;
    }

    InputScript& script;
    std::vector<Repeat> repeats;
    std::uint16_t keyBits = 0;
    std::uint32_t msLow = 16;
    std::uint32_t msHigh = 16;
};

}  // namespace

std::uint16_t InputScript::keysAt(std::uint64_t frame) const {
    std::uint64_t end = 0;
    for (const Step& step : steps) {
        if (step.until != Until::kFrames) return step.keyBits;
        end += step.frames;
        if (frame < end) return step.keyBits;
    }
    return steps.empty() ? 0 : steps.back().keyBits;
}

bool parseInputScript(const std::string& text, InputScript& script, std::string& error) {
    script = InputScript{};
    Parser parser(script);
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const std::size_t comment = line.find('#');
        if (comment != std::string::npos) line.resize(comment);
        std::istringstream split(line);
        std::vector<std::string> words;
        for (std::string word; split >> word;) words.push_back(word);
        if (words.empty()) continue;
        if (!parser.line(words, error)) {
            error = "line " + std::to_string(number) + ": " + error;
            return false;
        }
    }
    return parser.finish(error);
}
