#pragma once
#include <memory>

#include "platform/Status.h"

namespace platform {
class SoundBuffer;
}

// One sound effect. Playing starts it from its first sample unless it is
// still playing, and never loops. DSERR_BUFFERLOST from play tells the
// owner to restore it and load it again.
class Sound {
public:
    Sound();
    ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    platform::Status play();
    platform::Status restore();
    void release();

    bool hasBuffer() const { return pBuffer != nullptr; }
    // For the sound device, which makes the buffers.
    void adopt(std::unique_ptr<platform::SoundBuffer> buffer);
    platform::SoundBuffer* buffer() const { return pBuffer.get(); }

private:
    std::unique_ptr<platform::SoundBuffer> pBuffer;
};
