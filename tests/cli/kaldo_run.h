#pragma once
// Runs kaldo in-process against a test's program home and keeps what it
// printed, so command tests read like command lines.

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command.h"
#include "support/temp_dir.h"

namespace brevik::cli::kaldo_test {

struct KaldoRun {
  int status;
  std::string out;
  std::string err;
};

// kaldo --home HOME COMMAND ARGS...
inline KaldoRun runKaldoCommand(const brevik::testing::TempDir& home, std::string_view command,
                                std::vector<std::string> args) {
  args.insert(args.begin(), {"--home", home.path().string(), std::string(command)});
  std::ostringstream out, err;
  const int status = runKaldo(args, home.path() / "bin", out, err);
  return {status, out.str(), err.str()};
}

inline std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> v;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) v.push_back(l);
  return v;
}

}  // namespace brevik::cli::kaldo_test
