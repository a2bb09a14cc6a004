#pragma once
#include <cstddef>
#include <memory>

#include "platform/MasterBus.h"
#include "platform/Status.h"

namespace platform {

class SoundBuffer;
class Window;

// The set-up steps of the sound device, each of which a test can make fail.
enum class AudioStep { Device, CooperativeLevel };

// SDL_mixer, open for as long as the object lives, in the one format every
// sound of the game is written in: 22050 Hz, mono, 16-bit.
class Audio {
public:
    static constexpr int kFrequency = 22050;
    static constexpr int kChannels = 1;

    // DSERR_NODRIVER when there is no sound device to open.
    static Status open(std::unique_ptr<Audio>& out);
    ~Audio();
    Audio(const Audio&) = delete;
    Audio& operator=(const Audio&) = delete;

    Status setCooperativeLevel(Window* window);
    // A buffer holding a copy of these bytes, played as samples of the fixed
    // format whatever they were recorded in. E_INVALIDARG for fewer than one
    // whole sample.
    Status createBuffer(const char* name, const unsigned char* bytes, std::size_t size,
                        std::unique_ptr<SoundBuffer>& out);

    // Every sound silent, or heard again, at once. The sounds go on playing
    // unheard, so nothing else changes; a mixer opened later keeps it.
    static void setMuted(bool muted);
    static bool isMuted();

private:
    Audio() = default;

    // Fed every mixing turn on the mixer's thread while the object lives.
    MasterBus bus;
};

namespace testing {
// Makes a set-up step answer this failing status; S_OK clears it.
void setAudioFault(AudioStep step, Status status);
void clearAudioFaults();
}  // namespace testing

}  // namespace platform
