#include "combat/Paddle.h"

// The computer player.
void Paddle::steer(const BallSet&, int) {}
