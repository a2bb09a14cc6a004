#include "platform/SoundBuffer.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <strings.h>

#include <algorithm>

namespace platform {
namespace {

// The mixer plays at most this many sounds at once; beyond it a sound is
// dropped rather than the mixer growing without end.
constexpr int kMaxMixChannels = 256;

// Every buffer alive, so that a test can take their memory as the system
// would.
std::vector<SoundBuffer*>& liveBuffers() {
    static std::vector<SoundBuffer*> list;
    return list;
}

bool mixerIsOpen() {
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    return Mix_QuerySpec(&frequency, &format, &channels) != 0;
}

}  // namespace

Status SoundBuffer::create(const char* name, const unsigned char* bytes, std::size_t size,
                           std::unique_ptr<SoundBuffer>& out) {
    out.reset();
    if (bytes == nullptr || size < 2) return status::E_INVALIDARG;
    if (size > 0xFFFFFFFFu) return status::E_OUTOFMEMORY;
    if (!mixerIsOpen()) return status::DSERR_UNINITIALIZED;
    std::unique_ptr<SoundBuffer> buffer(new SoundBuffer(name, bytes, size));
    if (buffer->pChunk == nullptr) return status::E_OUTOFMEMORY;
    out = std::move(buffer);
    return status::S_OK;
}

SoundBuffer::SoundBuffer(const char* name, const unsigned char* bytes, std::size_t size)
    : szName(name ? name : ""), samples(bytes, bytes + (size & ~static_cast<std::size_t>(1))), pChunk(nullptr),
      iChannel(-1), bLost(false) {
    // Listed first: running out of memory there must not leave a chunk
    // that no destructor frees.
    liveBuffers().push_back(this);
    // The chunk only points at the samples, which this object keeps and
    // never resizes.
    pChunk = Mix_QuickLoad_RAW(samples.data(), static_cast<Uint32>(samples.size()));
}

SoundBuffer::~SoundBuffer() {
    stop();
    // Freeing the chunk also takes it off any channel that still names it.
    if (pChunk != nullptr) Mix_FreeChunk(pChunk);
    std::vector<SoundBuffer*>& list = liveBuffers();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

bool SoundBuffer::isPlaying() const {
    // The mixer's channel calls read freed memory once it is closed, and a
    // mixer opened again may have fewer channels than the one we played on.
    if (iChannel < 0 || !mixerIsOpen() || iChannel >= Mix_AllocateChannels(-1)) return false;
    return Mix_Playing(iChannel) != 0 && Mix_GetChunk(iChannel) == pChunk;
}

Status SoundBuffer::getStatus(std::uint32_t& flags) const {
    flags = 0;
    if (!mixerIsOpen()) return status::DSERR_UNINITIALIZED;
    if (isPlaying()) flags |= kPlaying;
    if (bLost) flags |= kLost;
    return status::S_OK;
}

Status SoundBuffer::stop() {
    // The channel may be playing someone else's sound by now.
    if (isPlaying()) Mix_HaltChannel(iChannel);
    return status::S_OK;
}

Status SoundBuffer::playFromStart() {
    if (bLost) return status::DSERR_BUFFERLOST;
    if (!mixerIsOpen()) return status::DSERR_UNINITIALIZED;
    stop();
    int channel = Mix_PlayChannel(-1, pChunk, 0);
    const int allocated = Mix_AllocateChannels(-1);
    if (channel < 0 && allocated < kMaxMixChannels) {
        Mix_AllocateChannels(std::min(kMaxMixChannels, allocated * 2 + 1));
        channel = Mix_PlayChannel(-1, pChunk, 0);
    }
    if (channel < 0) return status::DSERR_ALLOCATED;
    iChannel = channel;
    return status::S_OK;
}

Status SoundBuffer::restore() {
    bLost = false;
    return status::S_OK;
}

void SoundBuffer::lose() {
    stop();
    bLost = true;
}

namespace testing {

void loseSoundBuffers(const char* name) {
    for (SoundBuffer* buffer : liveBuffers()) {
        if (name == nullptr || strcasecmp(buffer->name().c_str(), name) == 0) buffer->lose();
    }
}

}  // namespace testing
}  // namespace platform
