#include "app/EntryPoint.h"

int main(int argc, char** argv) { return runQuadrill(argc, argv); }
