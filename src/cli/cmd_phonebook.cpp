// kaldo phonebook LIST ACTION: the phone book and the two modem lists of
// the program home, changed as brevik's list dialogs change them.
//
//   kaldo phonebook (phone|local|remote) list
//   kaldo phonebook (phone|local|remote) add NAME VALUE
//   kaldo phonebook (phone|local|remote) modify NAME NEWNAME VALUE
//   kaldo phonebook (phone|local|remote) delete NAME
//   kaldo phonebook (phone|local|remote) select NAME
//
// `list` prints one entry a line, "NAME<TAB>VALUE", after "* " for the
// entry the settings have chosen and "  " for the others. `select` does what
// the dialog's OK does: the entry's position and its number (or set-up
// string) go into the Logger Settings.

#include <algorithm>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command.h"
#include "cli/status_printing.h"
#include "common/cp1252.h"
#include "phonebook/list_choice.h"
#include "phonebook/name_list.h"
#include "settings/logger_settings.h"

namespace brevik::cli {

namespace {

constexpr const char* kName = "phonebook";
constexpr const char* kUsage =
    "usage: kaldo phonebook (phone|local|remote) list\n"
    "       kaldo phonebook (phone|local|remote) add NAME VALUE\n"
    "       kaldo phonebook (phone|local|remote) modify NAME NEWNAME VALUE\n"
    "       kaldo phonebook (phone|local|remote) delete NAME\n"
    "       kaldo phonebook (phone|local|remote) select NAME\n";

std::optional<phonebook::ListKind> listKind(const std::string& word) {
  if (word == "phone") return phonebook::ListKind::Phone;
  if (word == "local") return phonebook::ListKind::LocalModem;
  if (word == "remote") return phonebook::ListKind::RemoteModem;
  return std::nullopt;
}

std::size_t argumentCount(const std::string& action) {
  if (action == "list") return 0;
  if (action == "add") return 2;
  if (action == "modify") return 3;
  if (action == "delete" || action == "select") return 1;
  return static_cast<std::size_t>(-1);
}

class PhonebookRun {
 public:
  PhonebookRun(Context& ctx, phonebook::NameList list) : ctx_(ctx), list_(std::move(list)) {}

  int list() {
    const settings::LoggerSettings settings = settings::loadSettings(ctx_.home);
    const auto chosen = phonebook::openingPosition(list_.size(), phonebook::savedPosition(list_.kind(), settings));
    for (std::size_t i = 0; i < list_.size(); ++i) {
      const phonebook::ListRecord& r = list_.records()[i];
      *ctx_.out << (chosen == i ? "* " : "  ") << consoleText(r.name) << "\t" << consoleText(r.value) << "\n";
    }
    return kExitOk;
  }

  int add(const std::string& name, const std::string& value) {
    auto record = recordOf(name, value);
    if (!record) return kExitFailed;
    auto at = list_.insert(*record);
    if (!at) return refused(at.error().message);
    return kExitOk;
  }

  int modify(const std::string& name, const std::string& newName, const std::string& value) {
    const auto at = position(name);
    if (!at) return kExitFailed;
    auto record = recordOf(newName, value);
    if (!record) return kExitFailed;
    auto moved = list_.modify(*at, *record);
    if (!moved) return refused(moved.error().message);
    return kExitOk;
  }

  int remove(const std::string& name) {
    const auto at = position(name);
    if (!at) return kExitFailed;
    if (Status removed = list_.remove(*at); !removed) return refused(removed.error().message);
    return kExitOk;
  }

  int select(const std::string& name) {
    const auto at = position(name);
    if (!at) return kExitFailed;
    settings::LoggerSettings settings = settings::loadSettings(ctx_.home);
    phonebook::applyChoice(list_.kind(), *at, list_.records()[*at], settings);
    if (Status saved = settings::saveSettings(ctx_.home, settings); !saved) return refused(saved.error().message);
    return kExitOk;
  }

 private:
  int refused(const std::string& text) {
    *ctx_.err << "kaldo " << kName << ": " << consoleText(text) << "\n";
    return kExitFailed;
  }

  std::optional<phonebook::ListRecord> recordOf(const std::string& name, const std::string& value) {
    const phonebook::ListDescription& d = phonebook::describe(list_.kind());
    const std::string n = fromUtf8(name);
    const std::string v = fromUtf8(value);
    if (n.empty()) return refused(std::string(d.missingName)), std::nullopt;
    if (v.empty()) return refused(std::string(d.missingValue)), std::nullopt;
    auto shaped = phonebook::NameList::shape(list_.kind(), n, v);
    if (!shaped) return refused(shaped.error().message), std::nullopt;
    return *shaped;
  }

  std::optional<std::size_t> position(const std::string& name) {
    const auto at = list_.find(fromUtf8(name));
    if (!at) refused("no entry called \"" + fromUtf8(name) + "\" in " + list_.path().filename().string());
    return at;
  }

  Context& ctx_;
  phonebook::NameList list_;
};

int run(Context& ctx) {
  std::ostream& err = *ctx.err;
  const std::vector<std::string>& args = ctx.args;
  const auto kind = args.empty() ? std::nullopt : listKind(args[0]);
  if (!kind || args.size() < 2 || args.size() - 2 != argumentCount(args[1])) {
    err << kUsage;
    return kExitUsage;
  }
  auto list = phonebook::NameList::open(*kind, ctx.home);
  if (!list) {
    err << "kaldo " << kName << ": " << consoleText(list.error().message) << "\n";
    return kExitFailed;
  }
  // The skipped lines, one console line each.
  const std::string skipped = phonebook::skippedLinesText(*list);
  for (std::size_t from = 0; from < skipped.size();) {
    const std::size_t end = std::min(skipped.find('\n', from), skipped.size());
    err << consoleText(std::string_view(skipped).substr(from, end - from)) << "\n";
    from = end + 1;
  }
  PhonebookRun runner(ctx, std::move(*list));
  const std::string& action = args[1];
  if (action == "list") return runner.list();
  if (action == "add") return runner.add(args[2], args[3]);
  if (action == "modify") return runner.modify(args[2], args[3], args[4]);
  if (action == "delete") return runner.remove(args[2]);
  return runner.select(args[2]);
}

}  // namespace

KALDO_COMMAND(kName, "(phone|local|remote) list|add NAME VALUE|modify NAME NEWNAME VALUE|delete NAME|select NAME",
              "list or change the phone book (Phone.ini) and the local and site modem lists", run);

}  // namespace brevik::cli
