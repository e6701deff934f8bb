#include "cli/cli.h"

int main(int argc, char** argv) { return kdm::runCommandLine(argc, argv); }
