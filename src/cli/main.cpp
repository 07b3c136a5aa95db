#include <cstdio>
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
  // runKaldo reports what a command throws; this is the last guard, for a
  // failure before or after it (the arguments, the executable's directory).
  try {
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool errIsTerminal = BREVIK_ISATTY(2) != 0;
    const bool outIsTerminal = BREVIK_ISATTY(1) != 0;
    return brevik::cli::runKaldo(args, brevik::settings::executableDirectory(argc > 0 ? argv[0] : nullptr),
                                 std::cout, std::cerr, errIsTerminal, outIsTerminal);
  } catch (...) {
    std::fputs("kaldo: internal error\n", stderr);
    return brevik::cli::kExitFailed;
  }
}
