#include <iostream>
#include <string>
#include <vector>

#include "settings/home.h"
#include "cli/command.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return brevik::cli::runKaldo(args, brevik::settings::executableDirectory(argc > 0 ? argv[0] : nullptr),
                               std::cout, std::cerr);
}
