// kaldo export FILE OUT [--avg N] [--no-header] [--note TEXT] [--csv|--text]:
// writes a data file (.QX1 or .QX2) as a text or CSV table, with the home's
// unit, stamp and clock settings.

#include <charconv>
#include <optional>
#include <ostream>
#include <string>

#include "cli/command.h"
#include "cli/export_output.h"
#include "common/cp1252.h"
#include "program/auto_export.h"

namespace brevik::cli {

namespace {

constexpr const char* kUsage =
    "usage: kaldo export FILE OUT [--avg N] [--no-header] [--note TEXT] [--csv|--text] [--force]\n"
    "  --avg N   1 every point (default), N (2-9998) averages of N samples, 9999 one average\n"
    "  OUT       - writes the table to standard output\n"
    "  --force   write even when OUT is named or holds a data file (.qx1/.qx2)\n";

bool endsWithTxt(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return tail == ".txt";
}

std::optional<std::uint32_t> parseAveraging(const std::string& text) {
  std::uint32_t v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || v > exporting::kOneAverage) return std::nullopt;
  return exporting::effectiveAveraging(v);
}

int runExport(Context& ctx) {
  std::vector<std::string> positional;
  exporting::ExportOptions options;
  std::optional<bool> csv;
  bool force = false;
  for (std::size_t i = 0; i < ctx.args.size(); ++i) {
    const std::string& a = ctx.args[i];
    if (a == "--avg" || a == "--note") {
      if (i + 1 >= ctx.args.size()) {
        *ctx.err << "kaldo export: " << a << " needs a value\n" << kUsage;
        return kExitUsage;
      }
      const std::string& value = ctx.args[++i];
      if (a == "--note") {
        options.note = fromUtf8(value);
      } else if (auto n = parseAveraging(value)) {
        options.averaging = *n;
      } else {
        *ctx.err << "kaldo export: --avg takes a number from 0 to 9999, not '" << value << "'\n";
        return kExitUsage;
      }
    } else if (a == "--force") {
      force = true;
    } else if (a == "--no-header") {
      options.noHeader = true;
    } else if (a == "--csv" || a == "--text") {
      if (csv && *csv != (a == "--csv")) {
        *ctx.err << "kaldo export: --csv and --text exclude each other\n";
        return kExitUsage;
      }
      csv = a == "--csv";
    } else if (a.size() > 1 && a[0] == '-') {
      *ctx.err << "kaldo export: unknown option " << a << "\n" << kUsage;
      return kExitUsage;
    } else {
      positional.push_back(a);
    }
  }
  if (positional.size() != 2) {
    *ctx.err << kUsage;
    return kExitUsage;
  }
  options.csv = csv.value_or(!endsWithTxt(std::filesystem::path(positional[1]).filename().string()));
  return exportToTarget(ctx, positional[0], positional[1], options, force);
}

KALDO_COMMAND("export", "FILE OUT [--avg N] [--no-header] [--note TEXT] [--csv|--text] [--force]",
              "write a data file (.QX1 or .QX2) as a text or CSV table", runExport, kPrintsJson);

}  // namespace

}  // namespace brevik::cli
