#pragma once

// The whole program: start-up, the main loop and the orderly end. Returns
// the process exit code.
int runQuadrill(int argc, char** argv);
