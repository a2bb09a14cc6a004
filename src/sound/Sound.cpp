#include "sound/Sound.h"

#include "platform/SoundBuffer.h"

using namespace platform::status;

Sound::Sound() = default;

Sound::~Sound() { release(); }

platform::Status Sound::play() {
    if (!pBuffer) return S_OK;
    std::uint32_t flags = 0;
    const platform::Status status = pBuffer->getStatus(flags);
    if (platform::failed(status)) return status;
    // A sound still playing is not started over; this request is dropped.
    if (flags == platform::SoundBuffer::kPlaying) return S_OK;
    pBuffer->stop();
    return pBuffer->playFromStart();
}

platform::Status Sound::restore() {
    if (!pBuffer) return S_OK;
    return pBuffer->restore();
}

void Sound::release() {
    if (!pBuffer) return;
    pBuffer->stop();
    pBuffer.reset();
}

void Sound::adopt(std::unique_ptr<platform::SoundBuffer> buffer) { pBuffer = std::move(buffer); }
