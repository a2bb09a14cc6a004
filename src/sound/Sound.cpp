#include "sound/Sound.h"

#include "platform/SoundBuffer.h"

Sound::Sound() = default;
Sound::~Sound() { release(); }
platform::Status Sound::play() { return platform::status::S_OK; }
platform::Status Sound::restore() { return platform::status::S_OK; }
void Sound::release() { pBuffer.reset(); }
void Sound::adopt(std::unique_ptr<platform::SoundBuffer> buffer) { pBuffer = std::move(buffer); }
