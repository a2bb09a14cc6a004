#pragma once

namespace platform {
class FontFace {};
}  // namespace platform
