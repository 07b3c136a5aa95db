// brevik: the desktop program.

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "settings/command_line.h"
#include "settings/home.h"
#include "ui/brevik_desktop.h"
#include "ui/demo.h"

#ifndef BREVIK_DATA_DIR
#define BREVIK_DATA_DIR ""
#endif
#ifndef BREVIK_VERSION
#define BREVIK_VERSION "0"
#endif

namespace {

int runBrevik(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  auto split = brevik::settings::splitProgramArguments(args);
  if (!split) {
    std::fprintf(stderr, "%s\n", split.error().message.c_str());
    return 2;
  }
  if (split->help) {
    std::fputs(brevik::settings::programUsage().c_str(), stdout);
    return 0;
  }
  if (split->version) {
    std::printf("brevik %s\n", BREVIK_VERSION);
    return 0;
  }

  const std::filesystem::path exeDir = brevik::settings::executableDirectory(argv[0]);
  const std::filesystem::path dataDir = brevik::settings::findShippedData(exeDir, BREVIK_DATA_DIR);

  std::filesystem::path home;
  if (split->demo) {
    auto demoHome = brevik::ui::prepareDemoHome(dataDir);
    if (!demoHome) {
      std::fprintf(stderr, "brevik: %s\n", demoHome.error().message.c_str());
      return 1;
    }
    home = *demoHome;
  } else {
    auto chosen = brevik::settings::chooseHome(brevik::settings::homeInputsFromEnvironment(split->home, exeDir));
    if (!chosen) {
      std::fprintf(stderr, "brevik: %s\n", chosen.error().message.c_str());
      return 1;
    }
    home = *chosen;
    if (auto seeded = brevik::settings::seedHome(home, dataDir); !seeded)
      std::fprintf(stderr, "brevik: %s\n", seeded.error().message.c_str());
  }
  std::error_code ec;
  std::filesystem::current_path(home, ec);  // an error is not fatal: every file is named with the home

  // Positional arguments arrive as UTF-8; the program's texts are Windows-1252.
  std::vector<std::string> positional;
  for (const std::string& a : split->positional) positional.push_back(brevik::fromUtf8(a));

  QApplication app(argc, argv);
  // The installed desktop entry and icon: docks and task bars match the
  // windows to them.
  QGuiApplication::setDesktopFileName("brevik");
  QApplication::setWindowIcon(QIcon::fromTheme("brevik"));
  brevik::ui::DesktopOptions options;
  options.home = home;
  options.dataDir = dataDir;
  brevik::ui::BrevikDesktop desktop(options, positional);
  if (split->demo) brevik::ui::startDemo(desktop);
  else desktop.start();
  return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
  // Nothing may end the program without a word: what escapes is said on
  // standard error (the windows are gone by then) and the run fails.
  try {
    return runBrevik(argc, argv);
  } catch (const std::bad_alloc&) {
    std::fputs("brevik: out of memory\n", stderr);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "brevik: internal error: %s\n", e.what());
  } catch (...) {
    std::fputs("brevik: internal error\n", stderr);
  }
  return 1;
}
