#pragma once

namespace platform {
class Display {};
}  // namespace platform
