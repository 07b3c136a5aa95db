#pragma once
// The one-file command line shared by the data-file subcommands.

#include <filesystem>
#include <optional>
#include <ostream>
#include <string_view>

#include "cli/command.h"

namespace brevik::cli {

// The single FILE argument, or nothing after a usage message on ctx.err.
inline std::optional<std::filesystem::path> singleFileArgument(Context& ctx, std::string_view command) {
  if (ctx.args.size() != 1 || (ctx.args[0].size() > 1 && ctx.args[0][0] == '-')) {
    *ctx.err << "usage: kaldo " << command << " FILE\n";
    return std::nullopt;
  }
  return std::filesystem::path(ctx.args[0]);
}

}  // namespace brevik::cli
