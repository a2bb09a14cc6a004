#pragma once
#include <string>
#include <vector>

class PadClaims;
class Scene;

// The note over a paused match, the same in every match: what holds it,
// which pads are unplugged, and how to go on or leave. Empty for a scene
// that is not a paused match.
std::vector<std::string> pauseNoteLines(const Scene& scene, const PadClaims& claims);
