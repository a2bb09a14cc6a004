#include "support/DiskAudioCapture.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

namespace {

// A mixing turn every millisecond or so instead of every 23: the output
// comes about twenty times faster than it would play.
const char* const kTurnDelayMs = "1";

void SDLCALL countTurn(int, void*, int, void* counter) { ++*static_cast<std::atomic<long>*>(counter); }

template <typename Done>
bool waitUntil(const std::chrono::steady_clock::time_point& deadline, Done done) {
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

}  // namespace

DiskAudioCapture::DiskAudioCapture(const std::string& file) : path(file) {
    const std::pair<const char*, const char*> settings[] = {
        {"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILE", path.c_str()}, {"SDL_DISKAUDIODELAY", kTurnDelayMs}};
    for (const auto& setting : settings) {
        const char* previous = std::getenv(setting.first);
        saved.push_back({setting.first, previous != nullptr, previous ? previous : ""});
        setenv(setting.first, setting.second, 1);
    }
}

DiskAudioCapture::~DiskAudioCapture() {
    // A test that stopped early may leave the mixer running past this object.
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    if (counting && Mix_QuerySpec(&frequency, &format, &channels) != 0) {
        Mix_UnregisterEffect(MIX_CHANNEL_POST, countTurn);
    }
    for (const Saved& entry : saved) {
        if (entry.set) {
            setenv(entry.name, entry.value.c_str(), 1);
        } else {
            unsetenv(entry.name);
        }
    }
}

bool DiskAudioCapture::start() {
    const char* driver = SDL_GetCurrentAudioDriver();
    if (driver == nullptr || std::strcmp(driver, "disk") != 0) return false;
    // An effect on the finished mix runs once a turn and leaves the samples alone.
    counting = Mix_RegisterEffect(MIX_CHANNEL_POST, countTurn, nullptr, &turns) != 0;
    return counting;
}

bool DiskAudioCapture::waitForPlaying(int most, int limitMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    return waitUntil(deadline, [most] { return Mix_Playing(-1) <= most; });
}

bool DiskAudioCapture::waitForSilence(int limitMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    if (!waitUntil(deadline, [] { return Mix_Playing(-1) == 0; })) return false;
    // The turn in which the last sound ended is over; two more are silent,
    // the first of them possibly begun already.
    const long until = turns.load() + 2;
    return waitUntil(deadline, [this, until] { return turns.load() >= until; });
}

std::vector<std::int16_t> DiskAudioCapture::samples() const {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::int16_t> out(bytes.size() / 2);
    std::memcpy(out.data(), bytes.data(), out.size() * 2);
    return out;
}

std::vector<std::size_t> DiskAudioCapture::soundStarts(const std::vector<std::int16_t>& samples) {
    std::vector<std::size_t> starts;
    std::size_t silent = kTurnSamples;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (samples[i] == 0) {
            ++silent;
            continue;
        }
        // A sound fades in from zero, so its first loud sample may come a
        // little after the start of its turn.
        if (silent >= kTurnSamples) starts.push_back(i - i % kTurnSamples);
        silent = 0;
    }
    return starts;
}

double DiskAudioCapture::strayFromScaledCopy(const std::int16_t* played, const std::int16_t* source, std::size_t count,
                                             double& gain) {
    double cross = 0;
    double power = 0;
    for (std::size_t i = 0; i < count; ++i) {
        cross += static_cast<double>(played[i]) * source[i];
        power += static_cast<double>(source[i]) * source[i];
    }
    gain = power > 0 ? cross / power : 0;
    double stray = 0;
    for (std::size_t i = 0; i < count; ++i) stray = std::max(stray, std::fabs(played[i] - gain * source[i]));
    return stray;
}
