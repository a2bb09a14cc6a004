#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "errors/ErrorLogger.h"
#include "errors/StatusText.h"
#include "platform/Audio.h"
#include "platform/MessageBox.h"
#include "platform/ResourceTable.h"
#include "platform/SoundBuffer.h"
#include "sound/Sound.h"
#include "sound/SoundDevice.h"
#include "support/DiskAudioCapture.h"
#include "support/PlatformFaults.h"
#include "support/ReportExpectations.h"
#include "support/ScratchDirectory.h"

namespace {

using platform::AudioStep;
using platform::testing::recordedMessages;
using namespace platform::status;

// A wave in the game's 44-byte layout: the header says what the test wants,
// the length field included, and `count` 16-bit samples follow, 1000, 1001, ...
std::vector<unsigned char> wave(std::uint32_t declaredLength, std::size_t count, std::uint32_t rate = 22050,
                                std::uint16_t channels = 1) {
    std::vector<unsigned char> bytes(44, 0);
    auto put32 = [&bytes](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
    };
    std::memcpy(bytes.data(), "RIFF", 4);
    put32(4, 36 + declaredLength);
    std::memcpy(bytes.data() + 8, "WAVEfmt ", 8);
    put32(16, 16);
    bytes[20] = 1;
    bytes[22] = static_cast<unsigned char>(channels);
    put32(24, rate);
    put32(28, rate * channels * 2);
    bytes[32] = static_cast<unsigned char>(channels * 2);
    bytes[34] = 16;
    std::memcpy(bytes.data() + 36, "data", 4);
    put32(40, declaredLength);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint16_t sample = static_cast<std::uint16_t>(1000 + i);
        bytes.push_back(static_cast<unsigned char>(sample & 0xFF));
        bytes.push_back(static_cast<unsigned char>(sample >> 8));
    }
    return bytes;
}

bool playingOnItsChannel(const Sound& sound) {
    const platform::SoundBuffer* buffer = sound.buffer();
    return buffer != nullptr && buffer->channel() >= 0 && Mix_Playing(buffer->channel()) &&
           Mix_GetChunk(buffer->channel()) == buffer->chunk();
}

// Channels the mixer stopped before their end, or finished.
int g_channelsDone = 0;
void SDLCALL countDone(int) { ++g_channelsDone; }

// The `count` samples of wave() played whole from the first on, louder or
// softer but in their shape, then silence to the end of what was heard.
void expectWholeRampThenSilence(const std::vector<std::int16_t>& heard, std::size_t count) {
    ASSERT_LE(count + DiskAudioCapture::kTurnSamples, heard.size());
    std::vector<std::int16_t> ramp(count);
    for (std::size_t i = 0; i < count; ++i) ramp[i] = static_cast<std::int16_t>(1000 + i);
    double gain = 0;
    EXPECT_LE(DiskAudioCapture::strayFromScaledCopy(heard.data(), ramp.data(), count, gain), 4.0);
    EXPECT_GT(gain, 0.5);
    EXPECT_TRUE(std::all_of(heard.begin() + count, heard.end(), [](std::int16_t v) { return v == 0; }));
}

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(1, logger.init());
        logger.enableLog();
        g_channelsDone = 0;
    }
    void TearDown() override {
        Mix_ChannelFinished(nullptr);
    }

    void serve(const char* name, const std::vector<unsigned char>& bytes) {
        platform::testing::overrideResource(name, "WAVE", bytes.data(), bytes.size());
    }

    // Closes the device and cuts what it was sent into its sounds, each
    // `length` samples from the turn it started in.
    std::vector<std::vector<std::int16_t>> heard(const DiskAudioCapture& capture, std::size_t length) {
        device.release();
        const std::vector<std::int16_t> out = capture.samples();
        std::vector<std::vector<std::int16_t>> sounds;
        for (std::size_t start : DiskAudioCapture::soundStarts(out)) {
            const std::size_t end = std::min(out.size(), start + length);
            sounds.emplace_back(out.begin() + start, out.begin() + end);
        }
        return sounds;
    }

    void expectReported(const std::string& text, platform::Status status) {
        expectStatusReported(scratch, "DirectSound error!", text, status);
    }

    PlatformFaults faults;
    ScratchDirectory scratch;
    ErrorLogger logger;
    SoundDevice device;
};

TEST_F(SoundTest, WithoutASoundDeviceMessage301ComesOnceAndAllElseIsSilent) {
    platform::testing::setAudioFault(AudioStep::Device, DSERR_NODRIVER);
    EXPECT_EQ(0, device.create(nullptr, logger));
    expectReported("Unable to create IDirectSound8 instance!", DSERR_NODRIVER);
    device.release();
    EXPECT_FALSE(device.isCreated());

    Sound sound;
    EXPECT_EQ(E_POINTER, device.loadWave("okraj", &sound));
    EXPECT_FALSE(sound.hasBuffer());
    EXPECT_EQ(S_OK, sound.play());
    EXPECT_EQ(S_OK, sound.restore());
    EXPECT_EQ(1u, recordedMessages().size());
}

TEST_F(SoundTest, AnAudioDriverThatCannotOpenIsNoSoundDevice) {
    if (SDL_WasInit(SDL_INIT_AUDIO)) GTEST_SKIP() << "audio already open in this process";
    const char* previous = std::getenv("SDL_AUDIODRIVER");
    const std::string kept = previous ? previous : "";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    const int created = device.create(nullptr, logger);
    if (previous) {
        setenv("SDL_AUDIODRIVER", kept.c_str(), 1);
    } else {
        unsetenv("SDL_AUDIODRIVER");
    }
    EXPECT_EQ(0, created);
    expectReported("Unable to create IDirectSound8 instance!", DSERR_NODRIVER);
}

TEST_F(SoundTest, AFailingCooperativeLevelShows302AndKeepsTheDeviceForRelease) {
    platform::testing::setAudioFault(AudioStep::CooperativeLevel, DSERR_PRIOLEVELNEEDED);
    EXPECT_EQ(0, device.create(nullptr, logger));
    expectReported("Unable to set cooperative level!", DSERR_PRIOLEVELNEEDED);
    EXPECT_TRUE(device.isCreated());
    device.release();
    EXPECT_FALSE(device.isCreated());
}

TEST_F(SoundTest, ASecondPlayWhileStillPlayingIsDropped) {
    ASSERT_EQ(1, device.create(nullptr, logger));
    const auto okraj = wave(8836, 4418);
    serve("okraj", okraj);
    Sound sound;
    ASSERT_EQ(S_OK, device.loadWave("okraj", &sound));
    Mix_ChannelFinished(countDone);

    ASSERT_EQ(S_OK, sound.play());
    const int channel = sound.buffer()->channel();
    ASSERT_TRUE(playingOnItsChannel(sound));
    EXPECT_EQ(S_OK, sound.play());
    // A restart would have stopped the channel before starting it again.
    EXPECT_EQ(0, g_channelsDone);
    EXPECT_EQ(channel, sound.buffer()->channel());
    EXPECT_TRUE(playingOnItsChannel(sound));
}

TEST_F(SoundTest, APlayAfterTheEndStartsFromTheFirstSampleAndNeverLoops) {
    DiskAudioCapture capture(scratch.path() + "/out.raw");
    ASSERT_EQ(1, device.create(nullptr, logger));
    if (!capture.start()) GTEST_SKIP() << "the audio driver was chosen before this test";
    const auto klik = wave(1102, 551);
    serve("klik", klik);
    Sound sound;
    ASSERT_EQ(S_OK, device.loadWave("klik", &sound));
    ASSERT_EQ(S_OK, sound.play());
    ASSERT_TRUE(capture.waitForSilence(1000)) << "a 25 ms sound still plays after a second";
    ASSERT_EQ(S_OK, sound.play());
    EXPECT_TRUE(playingOnItsChannel(sound));
    ASSERT_TRUE(capture.waitForSilence(1000));

    const auto sounds = heard(capture, 1536);
    ASSERT_EQ(2u, sounds.size());
    EXPECT_EQ(sounds[0], sounds[1]);
    expectWholeRampThenSilence(sounds[0], 551);
}

TEST_F(SoundTest, AWaveDeclaredAs44100HzStereoStillPlaysAsWritten) {
    DiskAudioCapture capture(scratch.path() + "/out.raw");
    ASSERT_EQ(1, device.create(nullptr, logger));
    if (!capture.start()) GTEST_SKIP() << "the audio driver was chosen before this test";
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    ASSERT_NE(0, Mix_QuerySpec(&frequency, &format, &channels));
    EXPECT_EQ(22050, frequency);
    EXPECT_EQ(AUDIO_S16SYS, format);
    EXPECT_EQ(1, channels);
    const auto odd = wave(2000, 1000, 44100, 2);
    serve("odpal", odd);
    Sound sound;
    ASSERT_EQ(S_OK, device.loadWave("odpal", &sound));
    // Converted from what the header claims, the chunk would be a quarter as long.
    ASSERT_NE(nullptr, sound.buffer()->chunk());
    EXPECT_EQ(2000u, sound.buffer()->chunk()->alen);
    ASSERT_EQ(S_OK, sound.play());
    ASSERT_TRUE(capture.waitForSilence(1000));

    const auto sounds = heard(capture, 1536);
    ASSERT_EQ(1u, sounds.size());
    expectWholeRampThenSilence(sounds[0], 1000);
}

TEST_F(SoundTest, TheLengthFieldNeverTakesMoreThanTheResourceHolds) {
    ASSERT_EQ(1, device.create(nullptr, logger));
    const struct {
        std::uint32_t declared;
        std::size_t expected;  // 0: no buffer, the sound stays silent
    } cases[] = {
        {100000, 100},      // claims far more than the 100 bytes there
        {0x7FFFFFFF, 100},  // an absurd length
        {60, 60},           // bytes after the data are not samples
        {61, 60},           // half a sample is left out
        {1, 0},
        {0, 0},
        {static_cast<std::uint32_t>(-4), 0},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.declared);
        // Exactly as large as it says, so that a read past the end is caught.
        const auto bytes = wave(entry.declared, 50);
        serve("probe", bytes);
        Sound sound;
        const platform::Status loaded = device.loadWave("probe", &sound);
        EXPECT_EQ(entry.expected != 0, !platform::failed(loaded));
        EXPECT_EQ(entry.expected, sound.hasBuffer() ? sound.buffer()->size() : 0u);
        EXPECT_EQ(S_OK, sound.play());
    }
    // Shorter than its own header.
    const std::vector<unsigned char> stub(10, 0xFF);
    serve("probe", stub);
    Sound sound;
    EXPECT_TRUE(platform::failed(device.loadWave("probe", &sound)));
    EXPECT_FALSE(sound.hasBuffer());
}

TEST_F(SoundTest, LoadingAnswersItsCodesAndReplacesTheOldBuffer) {
    Sound sound;
    EXPECT_EQ(E_POINTER, device.loadWave("klik", &sound));
    ASSERT_EQ(1, device.create(nullptr, logger));
    EXPECT_EQ(E_INVALIDARG, device.loadWave("klik", nullptr));
    EXPECT_EQ(E_FAIL, device.loadWave("no such wave", &sound));
    platform::testing::setResourceFault("klik", platform::ResourceResult::NotLocked);
    EXPECT_EQ(E_FAIL, device.loadWave("klik", &sound));
    platform::testing::setResourceFault("klik", platform::ResourceResult::Ok);

    const auto shortWave = wave(100, 50);
    const auto longWave = wave(400, 200);
    serve("first", shortWave);
    serve("second", longWave);
    ASSERT_EQ(S_OK, device.loadWave("first", &sound));
    ASSERT_EQ(S_OK, sound.play());
    ASSERT_EQ(S_OK, device.loadWave("SECOND", &sound));
    EXPECT_EQ(400u, sound.buffer()->size());
    EXPECT_FALSE(playingOnItsChannel(sound));
}

TEST_F(SoundTest, ALostBufferReportsItselfUntilRestoredAndReloaded) {
    ASSERT_EQ(1, device.create(nullptr, logger));
    const auto odpal = wave(2264, 1132);
    const auto okraj = wave(8836, 4418);
    serve("odpal", odpal);
    serve("okraj", okraj);
    Sound bounce;
    Sound wall;
    ASSERT_EQ(S_OK, device.loadWave("odpal", &bounce));
    ASSERT_EQ(S_OK, device.loadWave("okraj", &wall));

    platform::testing::loseSoundBuffers("OKRAJ");
    EXPECT_EQ(S_OK, bounce.play());
    EXPECT_EQ(DSERR_BUFFERLOST, wall.play());
    EXPECT_EQ(DSERR_BUFFERLOST, wall.play());
    EXPECT_FALSE(playingOnItsChannel(wall));

    // What a ball does on the loss.
    EXPECT_EQ(S_OK, wall.restore());
    EXPECT_EQ(S_OK, device.loadWave("okraj", &wall));
    EXPECT_EQ(S_OK, wall.play());
    EXPECT_TRUE(playingOnItsChannel(wall));

    platform::testing::loseSoundBuffers();
    EXPECT_EQ(DSERR_BUFFERLOST, bounce.play());
    EXPECT_EQ(DSERR_BUFFERLOST, wall.play());
    EXPECT_FALSE(playingOnItsChannel(wall));
}

TEST_F(SoundTest, ASoundThatOutlivesItsDeviceIsSilent) {
    ASSERT_EQ(1, device.create(nullptr, logger));
    const auto okraj = wave(8836, 4418);
    serve("okraj", okraj);
    auto sound = std::make_unique<Sound>();
    ASSERT_EQ(S_OK, device.loadWave("okraj", sound.get()));
    ASSERT_EQ(S_OK, sound->play());
    device.release();
    EXPECT_TRUE(platform::failed(sound->play()));
    sound.reset();
}

TEST_F(SoundTest, TheGamesFiveWavesLoadWithTheirSampleCounts) {
    platform::ResourceData probe;
    if (!platform::findResource("klik", "WAVE", probe)) GTEST_SKIP() << "the waves are not embedded in this build";
    ASSERT_EQ(1, device.create(nullptr, logger));
    const struct {
        const char* name;
        std::size_t bytes;
    } waves[] = {{"micek", 43896}, {"odpal", 2264}, {"okraj", 8836}, {"klik", 1102}, {"tlacitko", 7368}};
    for (const auto& entry : waves) {
        Sound sound;
        ASSERT_EQ(S_OK, device.loadWave(entry.name, &sound)) << entry.name;
        EXPECT_EQ(entry.bytes, sound.buffer()->size()) << entry.name;
    }
}

}  // namespace
