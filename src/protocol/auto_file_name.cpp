#include "protocol/auto_file_name.h"

#include <cstdio>

#include "common/bytes.h"
#include "common/home_files.h"

namespace brevik::protocol {

namespace {

bool unsafeInFileName(unsigned char c) {
  if (c < 32 || c == 127) return true;
  switch (c) {
    case '/': case '\\': case ':': case '*': case '?': case '"': case '<': case '>': case '|':
      return true;
    default:
      return false;
  }
}

std::uint32_t nextCounter(std::uint32_t counter) {
  return counter >= kAutoFileCounterLimit ? 0 : counter + 1;
}

}  // namespace

std::string autoFileBaseName(std::string_view session) {
  const auto semicolon = session.find(';');
  if (semicolon == std::string_view::npos) return "A";
  std::string base = bytes::trimmedRight(session.substr(semicolon + 1));
  for (char& c : base)
    if (unsafeInFileName(static_cast<unsigned char>(c))) c = '_';
  for (std::size_t at = base.find(".."); at != std::string::npos; at = base.find("..", at)) base.replace(at, 2, "__");
  // A leading '-' reads as an option to every command that is given the
  // name, a leading '.' hides the file; both become '_'.
  if (!base.empty() && (base[0] == '-' || base[0] == '.')) base[0] = '_';
  // "NUL.site000001.qx1" or "COM1 .000001.qx1" would open a device on
  // Windows: such a name gets a leading '_'. The counter follows the base
  // directly, so only a base holding a '.' or equal to the bare device name
  // can end up that way; the whole name is what is checked.
  if (isWindowsDeviceName(base + "000000.qx1")) base.insert(base.begin(), '_');
  return base;
}

AutoFileName nextAutoFileName(std::string_view session, std::uint32_t counter,
                              const std::function<bool(const std::string&)>& exists) {
  const std::string base = autoFileBaseName(session);
  AutoFileName name;
  name.counter = counter > kAutoFileCounterLimit ? kAutoFileCounterLimit : counter;
  for (std::uint32_t tries = 0; tries <= kAutoFileCounterLimit; ++tries) {
    name.counter = nextCounter(name.counter);
    char digits[16];
    std::snprintf(digits, sizeof digits, "%06u", static_cast<unsigned>(name.counter));
    name.fileName = base + digits + ".qx1";
    if (!exists || !exists(name.fileName)) break;
  }
  return name;
}

}  // namespace brevik::protocol
