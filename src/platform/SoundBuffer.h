#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Status.h"

struct Mix_Chunk;

namespace platform {

// The samples of one sound and the mixer chunk over them. It plays once
// from its first sample on whichever mixer channel is free; it counts as
// playing only while the channel it last started on still plays this chunk,
// since a channel goes on naming its last chunk after the end.
class SoundBuffer {
public:
    // Bits of getStatus.
    static constexpr std::uint32_t kPlaying = 1;
    static constexpr std::uint32_t kLost = 2;

    // The bytes are copied; an odd last byte, half a sample, is left out.
    // E_INVALIDARG for less than one sample, DSERR_UNINITIALIZED while the
    // mixer is closed.
    static Status create(const char* name, const unsigned char* bytes, std::size_t size,
                         std::unique_ptr<SoundBuffer>& out);

    ~SoundBuffer();
    SoundBuffer(const SoundBuffer&) = delete;
    SoundBuffer& operator=(const SoundBuffer&) = delete;

    Status getStatus(std::uint32_t& flags) const;
    Status stop();
    // Once, never looping. DSERR_BUFFERLOST while lost.
    Status playFromStart();
    // Brings a lost buffer back; the game loads its samples again after it.
    Status restore();
    // What the system does when it takes the buffer's memory: the sound
    // stops and cannot play until restored.
    void lose();

    const std::string& name() const { return szName; }
    std::size_t size() const { return samples.size(); }
    // The mixer channel it last started on, -1 before the first play.
    int channel() const { return iChannel; }
    Mix_Chunk* chunk() const { return pChunk; }

private:
    SoundBuffer(const char* name, const unsigned char* bytes, std::size_t size);
    bool isPlaying() const;

    std::string szName;
    std::vector<std::uint8_t> samples;
    Mix_Chunk* pChunk;
    int iChannel;
    bool bLost;
};

namespace testing {
// Takes the memory of every live buffer, or of those loaded from the named
// resource (letter case ignored): each one's next play reports
// DSERR_BUFFERLOST until it is restored.
void loseSoundBuffers(const char* name = nullptr);
}  // namespace testing

}  // namespace platform
