#pragma once
#include <string>

class HeadlessStage;
struct SimOptions;

// Plays every replay of --verify headless and prints a line for each: its
// final scores, its frames, and OK or the first frame whose state differs.
// True when every one verified.
bool verifyReplays(const SimOptions& options, HeadlessStage& stage);
