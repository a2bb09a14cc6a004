#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "errors/ErrorLogger.h"
#include "platform/ResourceTable.h"
#include "sound/Sound.h"
#include "sound/SoundDevice.h"
#include "support/DiskAudioCapture.h"
#include "support/PlatformFaults.h"
#include "support/ScratchDirectory.h"

// The game's own sounds through the mixer, alone and three at a time, as a
// sound card would get them.
namespace {

using namespace platform::status;

const char* const kWaves[] = {"micek", "odpal", "okraj", "klik", "tlacitko"};

// Where a wave's samples and their length sit in the game's layout.
constexpr std::size_t kLengthOffset = 40;
constexpr std::size_t kHeaderSize = 44;

// -9 dBFS: the quietest a sound may come out on its own.
const double kQuietestPeak = 32768 * std::pow(10.0, -9 / 20.0);

double dbfs(int peak) { return 20 * std::log10(std::max(peak, 1) / 32768.0); }

int peakOf(const std::int16_t* samples, std::size_t count) {
    int peak = 0;
    for (std::size_t i = 0; i < count; ++i) peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    return peak;
}

std::vector<std::int16_t> samplesOf(const char* name) {
    platform::ResourceData data;
    if (!platform::findResource(name, "WAVE", data) || data.size < kHeaderSize) return {};
    std::uint32_t length = 0;
    std::memcpy(&length, data.data + kLengthOffset, 4);
    std::vector<std::int16_t> samples(std::min<std::size_t>(length, data.size - kHeaderSize) / 2);
    std::memcpy(samples.data(), data.data + kHeaderSize, samples.size() * 2);
    return samples;
}

// Where a wave's loudest upward swing is: lining these up is the worst
// that three sounds can do to each other.
std::size_t crestOf(const std::vector<std::int16_t>& samples) {
    return static_cast<std::size_t>(std::max_element(samples.begin(), samples.end()) - samples.begin());
}

class SoundMixTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::ResourceData probe;
        if (!platform::findResource("klik", "WAVE", probe)) GTEST_SKIP() << "the waves are not embedded in this build";
        ASSERT_EQ(1, logger.init());
        ASSERT_EQ(1, device.create(nullptr, logger));
        if (!capture.start()) GTEST_SKIP() << "the audio driver was chosen before this test";
    }

    // The game's wave started `delay` samples late: the same resource with
    // silence in front, served under a name of its own.
    const char* delayed(const char* name, std::size_t delay) {
        const std::string key = std::string(name) + "+" + std::to_string(delay);
        auto found = served.find(key);
        if (found == served.end()) {
            platform::ResourceData data;
            EXPECT_TRUE(platform::findResource(name, "WAVE", data));
            std::vector<unsigned char> bytes(data.data, data.data + kHeaderSize);
            bytes.resize(kHeaderSize + 2 * delay, 0);
            bytes.insert(bytes.end(), data.data + kHeaderSize, data.data + data.size);
            const std::uint32_t length = static_cast<std::uint32_t>(bytes.size() - kHeaderSize);
            const std::uint32_t riff = length + 36;
            std::memcpy(bytes.data() + 4, &riff, 4);
            std::memcpy(bytes.data() + kLengthOffset, &length, 4);
            found = served.emplace(key, std::move(bytes)).first;
            platform::testing::overrideResource(found->first.c_str(), "WAVE", found->second.data(),
                                                found->second.size());
        }
        return found->first.c_str();
    }

    // Closes the device and reads what it was sent.
    std::vector<std::int16_t> heard() {
        device.release();
        return capture.samples();
    }

    PlatformFaults faults;
    ScratchDirectory scratch;
    DiskAudioCapture capture{scratch.path() + "/mix.raw"};
    ErrorLogger logger;
    SoundDevice device;
    std::map<std::string, std::vector<unsigned char>> served;
};

TEST_F(SoundMixTest, ASoundOnItsOwnKeepsItsShapeAndIsNoQuieterThanMinus9dBFS) {
    for (const char* name : kWaves) {
        Sound sound;
        ASSERT_EQ(S_OK, device.loadWave(name, &sound));
        ASSERT_EQ(S_OK, sound.play());
        ASSERT_TRUE(capture.waitForSilence(5000)) << name;
    }
    const std::vector<std::int16_t> out = heard();
    const std::vector<std::size_t> starts = DiskAudioCapture::soundStarts(out);
    ASSERT_EQ(5u, starts.size());

    int quietest = 32768;
    for (std::size_t w = 0; w < 5; ++w) {
        SCOPED_TRACE(kWaves[w]);
        const std::vector<std::int16_t> source = samplesOf(kWaves[w]);
        ASSERT_LE(starts[w] + source.size(), out.size());
        const std::int16_t* played = out.data() + starts[w];
        // A limiter or a clip at work would stray by hundreds at the peaks.
        double gain = 0;
        EXPECT_LE(DiskAudioCapture::strayFromScaledCopy(played, source.data(), source.size(), gain), 4.0);
        const int peak = peakOf(played, source.size());
        EXPECT_GE(peak, kQuietestPeak);
        quietest = std::min(quietest, peak);
    }
    std::printf("quietest lone sound peaks at %.2f dBFS\n", dbfs(quietest));
}

TEST_F(SoundMixTest, ThreeSoundsAtOnceNeverReachFullScale) {
    std::vector<std::vector<std::int16_t>> sources;
    for (const char* name : kWaves) sources.push_back(samplesOf(name));

    // Every three of the five, a wave twice or three times included (two
    // balls on two paddles), started in one frame, a few samples apart, and
    // with their loudest swings lined up.
    int trios = 0;
    for (int a = 0; a < 5; ++a) {
        for (int b = a; b < 5; ++b) {
            for (int c = b; c < 5; ++c) {
                const int wave[3] = {a, b, c};
                const std::size_t crest =
                    std::max({crestOf(sources[a]), crestOf(sources[b]), crestOf(sources[c])});
                const std::size_t delays[3][3] = {
                    {0, 0, 0},
                    {0, 2, 5},
                    {crest - crestOf(sources[a]), crest - crestOf(sources[b]), crest - crestOf(sources[c])}};
                for (const auto& delay : delays) {
                    Sound sounds[3];
                    for (int i = 0; i < 3; ++i) {
                        ASSERT_EQ(S_OK, device.loadWave(delayed(kWaves[wave[i]], delay[i]), &sounds[i]));
                    }
                    for (Sound& sound : sounds) ASSERT_EQ(S_OK, sound.play());
                    // With one sound left the overlap is over: the rest of a
                    // long chime is cut short to keep the test quick.
                    ASSERT_TRUE(capture.waitForPlaying(1, 5000));
                    Mix_HaltChannel(-1);
                    ASSERT_TRUE(capture.waitForSilence(5000));
                    ++trios;
                }
            }
        }
    }
    const std::vector<std::int16_t> out = heard();
    const std::vector<std::size_t> starts = DiskAudioCapture::soundStarts(out);
    ASSERT_EQ(static_cast<std::size_t>(trios), starts.size());

    const int peak = peakOf(out.data(), out.size());
    EXPECT_LT(peak, 32767) << "full scale reached";
    // A clipped swing is cut flat; a clean one never holds a loud value.
    std::size_t flat = 0;
    for (std::size_t i = 2; i < out.size(); ++i) {
        if (std::abs(out[i]) > 16384 && out[i] == out[i - 1] && out[i] == out[i - 2]) ++flat;
    }
    EXPECT_EQ(0u, flat) << "samples held flat at the top of a swing";
    std::printf("loudest of %d overlaps peaks at %.2f dBFS\n", trios, dbfs(peak));
}

}  // namespace
