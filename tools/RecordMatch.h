#pragma once

class HeadlessStage;
struct SimOptions;

// Plays the match of the --script headless and writes its replay to the
// --record file. True when the replay was written.
bool recordMatch(const SimOptions& options, HeadlessStage& stage);
