#pragma once

namespace platform {
class SoundBuffer {};
}  // namespace platform
