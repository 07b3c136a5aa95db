#pragma once
// brevik's windows on the offscreen platform, joined to the virtual logger in
// virtual time, with a scripted Prompter and a recorded quit.

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <memory>
#include <string>
#include <vector>

#include "settings/home.h"
#include "settings/logger_settings.h"
#include "common/clock.h"
#include "common/files.h"
#include "link/exchange_trace.h"
#include "link/virtual_ticks.h"
#include "sim/logger_profile.h"
#include "sim/far_end.h"
#include "sim/logger_twin.h"
#include "sim/virtual_serial_port.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"
#include "support/trace_lines.h"
#include "ui/scripted_file_dialogs.h"
#include "ui/scripted_setup_dialogs.h"
#include "ui/brevik_desktop.h"
#include "ui/t_comm_status.h"
#include "ui/t_main.h"
#include "ui/t_settings2.h"
#include "ui/t_status.h"

namespace brevik::testing {

struct Desktop {
  TempDir home;
  FixedClock clock{DateTime{2026, 12, 8, 10, 30, 0, 0, 2}};
  link::VirtualTicks ticks;
  std::unique_ptr<sim::LineDevice> twin;  // the logger, or a modem before it
  sim::VirtualSerialPort port{ticks};
  ScriptedPrompter prompter;
  int quits = 0;
  // What SaveDataFileDlg answers (nothing: cancelled).
  std::optional<QString> saveAnswer;
  // The graph's open and save dialogs.
  ScriptedFileDialogs files;
  // The setup window's scaling, chooser and date dialogs.
  ScriptedSetupDialogs setupDialogs;
  std::unique_ptr<ui::BrevikDesktop> desktop;
  TraceLines trace;

  // `adjust` changes the settings stored before start-up.
  explicit Desktop(std::vector<std::string> args = {}, const std::string& profile = "kaldo5-12bit",
                   const std::function<void(settings::LoggerSettings&)>& adjust = {}) {
    (void)settings::seedHome(home.path(), dataDir());
    auto loaded = sim::loadSimProfile(profile, dataDir() / "sim");
    if (!loaded) throw std::runtime_error(loaded.error().message);
    twin = sim::makeFarEnd(std::move(*loaded), clock.now());
    port.attach(*twin);
    settings::LoggerSettings settings;
    settings.BaudRate = 57600;
    if (adjust) adjust(settings);
    (void)settings::saveSettings(home.path(), settings);
    ui::DesktopOptions options;
    options.home = home.path();
    options.dataDir = dataDir();
    options.clock = &clock;
    options.prompter = &prompter;
    options.ticks = &ticks;
    options.port = &port;
    options.quit = [this] { ++quits; };
    options.saveDataFile = [this] { return saveAnswer; };
    options.fileDialogs = files.port;
    options.setupDialogs = setupDialogs.port();
    desktop = std::make_unique<ui::BrevikDesktop>(options, args);
    desktop->session().engine().setTraceSink(&trace);
  }
  ~Desktop() { desktop.reset(); }

  ui::TMain& main() { return desktop->mainWindow(); }
  program::DesktopSession& session() { return desktop->session(); }
  const link::LinkContext& ctx() const { return desktop->session().context(); }
  settings::LoggerSettings& settings() { return desktop->program().settings(); }

  void trigger(const char* action) {
    auto* a = main().findChild<QAction*>(action);
    if (a == nullptr) throw std::runtime_error(std::string("no action ") + action);
    a->trigger();
  }
  // Runs virtual time, handing Qt its events between ticks.
  void run(link::Ticks ticksToRun) {
    for (link::Ticks i = 0; i < ticksToRun; ++i) {
      ticks.advance(1);
      QApplication::processEvents();
    }
  }
  // Runs until no exchange is running (at most `limit` ticks).
  bool runUntilIdle(link::Ticks limit = 2000) {
    for (link::Ticks i = 0; i < limit; ++i) {
      if (!session().exchangeRunning()) return true;
      run(1);
    }
    return false;
  }
  QString text(QWidget* parent, const char* name) {
    auto* e = parent->findChild<QLineEdit*>(name);
    return e != nullptr ? e->text() : QString("<no %1>").arg(name);
  }
  std::vector<std::string> messageTexts() const {
    std::vector<std::string> out;
    for (const Message& m : prompter.messages) out.push_back(m.text);
    return out;
  }
  std::string log() const {
    auto content = files::readAll(home / "QXLOG.TXT");
    return content ? *content : std::string();
  }
};

}  // namespace brevik::testing
