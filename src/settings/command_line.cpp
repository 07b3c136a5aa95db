#include "settings/command_line.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>

namespace brevik::settings {

namespace {

constexpr std::size_t kPhoneNumberCapacity = 254;
// Texts shorter than this are phone book entry numbers, longer ones numbers to dial.
constexpr std::size_t kPhoneNumberMinLength = 5;

// A whole decimal integer with an optional sign, within 32 signed bits.
std::optional<std::int64_t> parseInteger(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return std::nullopt;
  std::int64_t v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    v = v * 10 + (text[i] - '0');
    if (v > 2147483648LL) return std::nullopt;
  }
  if (negative) v = -v;
  if (v > 2147483647LL) return std::nullopt;
  return v;
}

std::string cut(std::string_view text, std::size_t width) {
  return std::string(text.substr(0, std::min(text.size(), width)));
}

CommandLineOutcome logAndQuit(CommandLineOutcome out, std::string_view text) {
  out.action = StartupAction::LogAndQuit;
  out.logText = std::string(text);
  return out;
}

// The mode letter; upper case is taken as well, since "S" or "R" can only
// mean the same thing.
char modeLetter(const std::vector<std::string>& args) {
  if (args.size() < 2 || args[1].size() != 1) return '\0';
  return static_cast<char>(std::tolower(static_cast<unsigned char>(args[1][0])));
}

}  // namespace

std::string upperExtension(std::string_view fileName) {
  const std::size_t slash = fileName.find_last_of("/\\:");
  const std::string_view base = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
  const std::size_t dot = base.rfind('.');
  if (dot == std::string_view::npos) return {};
  std::string ext(base.substr(dot));
  for (char& c : ext)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return ext;
}

CommandLineOutcome applyCommandLine(const std::vector<std::string>& arguments,
                                    const LoggerSettings& settings) {
  CommandLineOutcome out;
  out.settings = settings;
  out.currentDataFileName = settings.DataFileName;
  if (arguments.empty()) return out;

  const std::vector<std::string> args(arguments.begin(),
                                      arguments.begin() + static_cast<std::ptrdiff_t>(
                                                              std::min<std::size_t>(arguments.size(), 4)));
  LoggerSettings& s = out.settings;
  out.fileArgument = args[0];

  if (args.size() >= 4) {
    const std::string& phone = args[3];
    if (phone == "0") {
      s.UseModem = 0;
    } else {
      s.UseModem = 1;
      if (phone.size() < kPhoneNumberMinLength) {
        // An entry number counted from 1. Anything else (letters, "00") would
        // select no entry or a wrapped-around one; the run stops instead of
        // dialling a site nobody asked for.
        const auto entry = parseInteger(phone);
        if (!entry || *entry < 1 || phone[0] == '+' || phone[0] == '-')
          return logAndQuit(std::move(out), kBadPhoneEntryText);
        s.PhoneIndex = static_cast<std::uint32_t>(*entry - 1);
      } else {
        s.PhoneNumber = cut(phone, kPhoneNumberCapacity);
      }
    }
  }

  if (args.size() >= 3) {
    const std::string& station = args[2];
    if (station == "0") {
      s.NetworkMode = 0;
    } else {
      s.NetworkMode = 1;
      const std::int64_t value = parseInteger(station).value_or(0);
      s.StationAddress = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) & 0xFF);
    }
  }

  const std::string& file = args[0];
  switch (modeLetter(args)) {
    case 's':
      if (upperExtension(file) != ".SET") return logAndQuit(std::move(out), kNoSetFileText);
      out.flags.setupSend = true;
      s.SetupFileName = cut(file, kFileNameCapacity);
      out.action = StartupAction::SendSetup;
      return out;
    case 'r': {
      const std::string ext = upperExtension(file);
      if (ext == ".QX1") {
        out.flags.receive = true;
        out.action = StartupAction::ReceiveData;
      } else if (ext == ".CSV") {
        out.flags.csv = true;
        out.action = StartupAction::ReceiveCsv;
      } else {
        return logAndQuit(std::move(out), kBadExtensionText);
      }
      return out;
    }
    case 'h':
      out.action = StartupAction::HangUp;
      return out;
    default:
      s.DataFileName = cut(file, kFileNameCapacity);
      out.currentDataFileName = s.DataFileName;
      out.flags.openGraph = true;
      out.action = StartupAction::GraphFile;
      return out;
  }
}

Result<ProgramArguments> splitProgramArguments(const std::vector<std::string>& argv) {
  ProgramArguments out;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < argv.size(); ++i) {
    const std::string& a = argv[i];
    if (optionsEnded || a.size() < 2 || a.compare(0, 2, "--") != 0) {
      out.positional.push_back(a);
      continue;
    }
    if (a == "--") {
      optionsEnded = true;
    } else if (a == "--home") {
      if (i + 1 >= argv.size() || argv[i + 1].empty())
        return makeError(ErrorKind::Usage, "brevik: --home needs a directory");
      out.home = std::filesystem::path(argv[++i]);
    } else if (a.rfind("--home=", 0) == 0) {
      if (a.size() == 7) return makeError(ErrorKind::Usage, "brevik: --home needs a directory");
      out.home = std::filesystem::path(a.substr(7));
    } else if (a == "--demo") {
      out.demo = true;
    } else if (a == "--help") {
      out.help = true;
    } else if (a == "--version") {
      out.version = true;
    } else {
      return makeError(ErrorKind::Usage, "brevik: unknown option '" + a +
                                             "' (options: --home DIR, --demo, --help, --version)");
    }
  }
  return out;
}

std::string programUsage() {
  return "usage: brevik [--home DIR] [--demo] [DATAFILE [MODE [STATION [PHONE]]]]\n"
         "       brevik --help | --version\n"
         "\n"
         "  DATAFILE  a data file to graph; with MODE s a setup file (.set) to send,\n"
         "            with MODE r the file to receive into (.qx1, or .csv for one\n"
         "            line of current readings)\n"
         "  MODE      s send a setup, r receive, h hang up the modem\n"
         "  STATION   0 for a single logger, else the station address (0-255)\n"
         "  PHONE     0 for a direct line, a phone book entry (1-9999), or the\n"
         "            number to dial (five characters or more)\n"
         "\n"
         "  --home DIR  use DIR as the program home\n"
         "  --demo      run against the built-in virtual logger\n"
         "  --help      show this help\n"
         "  --version   show the version\n"
         "\n"
         "Unattended runs (s, r, h) write what happened to QXLOG.TXT in the home.\n";
}

}  // namespace brevik::settings
