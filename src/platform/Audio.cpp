#include "platform/Audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include "platform/SoundBuffer.h"

namespace platform {
namespace {

// Enough for every sound of a busy match at once; the buffers ask for more
// when they find none free.
constexpr int kMixChannels = 16;
// Samples per mixing turn: about 23 ms, short enough for a 25 ms click.
constexpr int kChunkSamples = 512;

struct AudioFaults {
    Status device = status::S_OK;
    Status cooperativeLevel = status::S_OK;
};

AudioFaults& faults() {
    static AudioFaults list;
    return list;
}

void SDLCALL mixed(void* bus, Uint8* stream, int length) {
    static_cast<MasterBus*>(bus)->process(reinterpret_cast<std::int16_t*>(stream), static_cast<std::size_t>(length) / 2);
}

// Muting silences every channel at the mixer's master volume, which is
// otherwise the bus's level for each channel.
bool g_muted = false;

void applyVolume() { Mix_MasterVolume(g_muted ? 0 : MasterBus::kChannelVolume); }

}  // namespace

Status Audio::open(std::unique_ptr<Audio>& out) {
    out.reset();
    if (failed(faults().device)) return faults().device;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return status::DSERR_NODRIVER;
    // No changes allowed: the samples are copied to the mixer as they are,
    // so the device must run in exactly the format they are written in.
    if (Mix_OpenAudioDevice(kFrequency, AUDIO_S16SYS, kChannels, kChunkSamples, nullptr, 0) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return status::DSERR_NODRIVER;
    }
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    if (Mix_QuerySpec(&frequency, &format, &channels) == 0 || frequency != kFrequency || format != AUDIO_S16SYS ||
        channels != kChannels) {
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return status::DSERR_BADFORMAT;
    }
    if (Mix_AllocateChannels(-1) < kMixChannels) Mix_AllocateChannels(kMixChannels);
    out.reset(new Audio());
    // The mixer adds its channels up in 16 bits and saturates: every channel
    // goes in quieter so the sum never does, and the bus makes up for it.
    applyVolume();
    Mix_SetPostMix(mixed, &out->bus);
    return status::S_OK;
}

Audio::~Audio() {
    Mix_SetPostMix(nullptr, nullptr);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void Audio::setMuted(bool muted) {
    g_muted = muted;
    applyVolume();
}

bool Audio::isMuted() { return g_muted; }

Status Audio::setCooperativeLevel(Window*) { return faults().cooperativeLevel; }

Status Audio::createBuffer(const char* name, const unsigned char* bytes, std::size_t size,
                           std::unique_ptr<SoundBuffer>& out) {
    return SoundBuffer::create(name, bytes, size, out);
}

namespace testing {

void setAudioFault(AudioStep step, Status status) {
    if (step == AudioStep::Device) {
        faults().device = status;
    } else {
        faults().cooperativeLevel = status;
    }
}

void clearAudioFaults() { faults() = AudioFaults{}; }

}  // namespace testing
}  // namespace platform
