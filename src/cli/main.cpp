#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <io.h>
#define BREVIK_ISATTY _isatty
#else
#include <unistd.h>
#define BREVIK_ISATTY isatty
#endif

#include "settings/home.h"
#include "cli/command.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  const bool errIsTerminal = BREVIK_ISATTY(2) != 0;
  return brevik::cli::runKaldo(args, brevik::settings::executableDirectory(argc > 0 ? argv[0] : nullptr),
                               std::cout, std::cerr, errIsTerminal);
}
