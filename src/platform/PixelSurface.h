#pragma once

namespace platform {
class PixelSurface {};
}  // namespace platform
