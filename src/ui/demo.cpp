#include "ui/demo.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QPixmap>
#include <QTimer>
#include <cstdlib>
#include <random>

#include "settings/home.h"
#include "settings/logger_settings.h"
#include "common/files.h"
#include "graph/chart_plan.h"
#include "phonebook/name_list.h"
#include "program/desktop_session.h"
#include "setup/scale_entry.h"
#include "ui/brevik_desktop.h"
#include "ui/t_ascii_dlg.h"
#include "ui/t_color_setup.h"
#include "ui/t_graph.h"
#include "ui/t_main.h"
#include "ui/t_status.h"
#include "ui/t_viewports_dlg.h"
#include "ui/text.h"
#include "ui/locale_clock.h"
#include "ui/t_adjust1.h"
#include "ui/t_cloop.h"
#include "ui/t_contact_dlg.h"
#include "ui/t_db_list.h"
#include "ui/t_get_date.h"
#include "ui/t_lin_tran.h"
#include "ui/t_modem_utilities.h"
#include "ui/t_linscale_dlg.h"
#include "ui/t_select_file.h"
#include "ui/t_setup.h"
#include "ui/t_snd_net_addr.h"

namespace brevik::ui {

Result<std::filesystem::path> prepareDemoHome(const std::filesystem::path& dataDir) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path base = fs::temp_directory_path(ec);
  if (ec) return makeError(ErrorKind::Io, "no temporary directory: " + ec.message());
  std::random_device seed;
  std::mt19937 random(seed());
  for (int attempt = 0; attempt < 20; ++attempt) {
    const fs::path home = base / ("brevik-demo-" + std::to_string(random() % 1000000));
    if (!fs::create_directory(home, ec)) continue;  // taken (or failed): try another name
    if (Status seeded = settings::seedHome(home, dataDir); !seeded) return seeded.error();
    const std::string ports = std::string("# COM1 is the built-in virtual logger\r\nCOM1=sim:") + kDemoProfile + "\r\n";
    if (Status written = files::writeFileAtomically(home / "ports.ini", ports); !written) return written.error();
    settings::LoggerSettings settings;
    settings.BaudRate = kDemoBaudRate;
    settings.FastProtocol = 1;
    if (Status saved = settings::saveSettings(home, settings); !saved) return saved.error();
    return home;
  }
  return makeError(ErrorKind::Io, "cannot create a demo home in " + base.string());
}

namespace {

void save(QWidget& window, const std::filesystem::path& file) {
  window.grab().save(QString::fromStdString(file.string()));
}

// The graph part of the tour: the downloaded file in one to four
// viewports, monochrome with symbols, zoomed, and the graph's dialogs.
void saveGraphShots(BrevikDesktop& desktop, const std::filesystem::path& dir) {
  TGraph& graph = desktop.graphWindow();
  graph::GraphModel& model = graph.model();
  const std::array<bool, 4> all{true, true, true, true};
  const std::array<graph::ViewportLayout, 4> layouts = {
      graph::ViewportLayout{4, 0, 0, 0}, {2, 2, 0, 0}, {2, 1, 1, 0}, {1, 1, 1, 1}};
  for (int count = 1; count <= 4; ++count) {
    model.applyViewports(count, layouts[static_cast<std::size_t>(count - 1)], all);
    graph.rebuild();
    QApplication::processEvents();
    save(graph, dir / ("graph-" + std::to_string(count) + "-viewports.png"));
  }
  graph.command(GraphCommand::MonochromeSymbols);
  QApplication::processEvents();
  save(graph, dir / "graph-monochrome-symbols.png");
  graph.command(GraphCommand::Color);

  // A box over the second quarter of the record.
  const graph::ChartPlan plan = model.plan();
  const double quarter = (plan.xMax - plan.xMin) / 4.0;
  graph.zoomTo(plan.xMin + quarter, plan.xMin + 2.0 * quarter);
  QApplication::processEvents();
  save(graph, dir / "graph-zoomed.png");

  graph.prepareViewportsDialog();
  graph.prepareColorSetup();
  for (QDialog* dialog : std::initializer_list<QDialog*>{&graph.colorSetup(), &graph.viewportsDialog(), &graph.asciiDialog()}) {
    dialog->show();
    QApplication::processEvents();
    save(*dialog, dir / (dialog->objectName().toStdString() + ".png"));
    dialog->hide();
  }
}

// The setup part of the tour: the setup window in both modes, the station
// address window and every dialog the setup window opens.
void saveSetupShots(BrevikDesktop& desktop, const std::filesystem::path& dir) {
  program::DesktopSession& session = desktop.session();
  TSetup& setupWindow = desktop.setupWindow();
  session.newSetup();
  QApplication::processEvents();
  save(setupWindow, dir / "setup.png");
  setupWindow.hide();
  session.changeScaling();
  QApplication::processEvents();
  save(setupWindow, dir / "setup-labels-only.png");
  setupWindow.hide();
  session.stationAddress();
  QApplication::processEvents();
  save(desktop.stationAddressWindow(), dir / "TSndNetAddr.png");
  desktop.stationAddressWindow().hide();

  Prompter& prompter = desktop.prompter();
  const std::filesystem::path home = desktop.program().home();
  const LocaleClock clock(desktop.program().clock(), QLocale());
  setup::LoggerConfiguration config = desktop.program().setup().current;
  const auto shot = [&dir](QDialog& dialog, const std::string& name) {
    dialog.show();
    QApplication::processEvents();
    save(dialog, dir / (name + ".png"));
    dialog.hide();
  };
  TLinscaleDlg linear(prompter, &setupWindow);
  linear.prepare("Linear: 0.0000 / 100.00");
  shot(linear, "TLinscaleDlg");
  TContactDlg contact(prompter, &setupWindow);
  contact.prepare();
  shot(contact, "TContactDlg");
  TAdjust1 calibration("Linear: 0.0000 / 100.00", prompter, &setupWindow);
  shot(calibration, "TAdjust1");
  TCloop loop(prompter, &setupWindow);
  shot(loop, "TCloop");
  TLinTran sensor(prompter, &setupWindow);
  shot(sensor, "TLinTran");
  TSelectFile chooser(home, &setupWindow);
  chooser.prepare(fromCp(setup::kChooseTableCaption), fromCp(setup::kChooseTablePrompt), fromCp(setup::kChooseTableMask));
  shot(chooser, "TSelectFile");
  for (const bool dialOut : {false, true}) {
    TGetDate date(clock, &setupWindow);
    date.prepare(config, dialOut);
    shot(date, dialOut ? "TGetDate-dial-out" : "TGetDate-preset");
  }
}

// The phone book part of the tour: the three lists with a few entries, the
// remote modem window and the com test window.
void saveModemShots(BrevikDesktop& desktop, const std::filesystem::path& dir) {
  const std::filesystem::path home = desktop.program().home();
  const struct {
    phonebook::ListKind kind;
    std::vector<phonebook::ListRecord> records;
  } lists[] = {
      {phonebook::ListKind::Phone, {{"Harbour station", "5551000"}, {"Mill race", "5552000"}, {"North quay", "5553000"}}},
      {phonebook::ListKind::LocalModem, {{"Hayes compatible", "AT&F&C1&D2"}, {"US Robotics", "AT&F1"}}},
      {phonebook::ListKind::RemoteModem, {{"Site answer", "ATS0=1&W"}}},
  };
  for (const auto& list : lists) {
    phonebook::NameList names(list.kind, home / phonebook::describe(list.kind).fileName);
    for (const phonebook::ListRecord& r : list.records) (void)names.insert(r);
  }
  program::DesktopSession& session = desktop.session();
  const auto shot = [&dir](QWidget& window) {
    QApplication::processEvents();
    save(window, dir / (window.objectName().toStdString() + ".png"));
    window.hide();
  };
  session.openPhoneList();
  shot(desktop.phoneListWindow());
  session.openLocalModems();
  shot(desktop.localModemsWindow());
  session.openRemoteModems();
  QApplication::processEvents();
  save(desktop.remoteModemsWindow(), dir / "TDB2.png");
  desktop.remoteModemsWindow().findChild<QPushButton*>("ConfigBtn")->click();
  shot(desktop.remoteModemWindow());
  desktop.remoteModemsWindow().hide();
  session.openComTest();
  shot(desktop.comTestWindow());
}

// The tour answers each message box as a person wanting to see the next
// window would: the default button (Yes to "Trace Data?").
void answerMessageBoxes() {
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (box == nullptr) return;
  QAbstractButton* yes = box->button(QMessageBox::Yes);
  QAbstractButton* pick = yes != nullptr ? yes : static_cast<QAbstractButton*>(box->defaultButton());
  if (pick == nullptr && !box->buttons().isEmpty()) pick = box->buttons().front();
  if (pick != nullptr) pick->click();
}

}  // namespace

void startDemo(BrevikDesktop& desktop) {
  desktop.start();
  const char* shots = std::getenv("BREVIK_DEMO_SCREENSHOTS");
  if (shots == nullptr || *shots == '\0') return;
  const std::filesystem::path dir(shots);
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  // Read a status once the window is up, then wait for the status form;
  // then download the logger and wait for its graph.
  QTimer::singleShot(500, qApp, [&desktop] { desktop.session().readStatus(); });
  auto* poll = new QTimer(qApp);
  auto waited = std::make_shared<int>(0);
  auto step = std::make_shared<int>(0);
  QObject::connect(poll, &QTimer::timeout, qApp, [&desktop, dir, poll, waited, step] {
    ++*waited;
    answerMessageBoxes();
    const bool idle = desktop.session().context().kind == link::ExchangeKind::None && !desktop.session().exchangeRunning();
    if (*waited >= 900) {  // at most a minute and a half
      poll->stop();
      QApplication::exit(1);
      return;
    }
    if (*step == 0) {
      if (!(desktop.statusForm().isVisible() && idle)) return;
      save(desktop.mainWindow(), dir / "main.png");
      save(desktop.statusForm(), dir / "status.png");
      desktop.statusForm().hide();
      desktop.session().receiveData((desktop.program().home() / "demo.qx1").string());
      *step = 1;
      return;
    }
    TGraph& graph = desktop.graphWindow();
    if (*step == 1) {
      if (!(graph.isVisible() && idle && graph.model().loaded())) return;
      saveGraphShots(desktop, dir);
      graph.hide();
      desktop.session().realTimeGraph();
      *step = 2;
      return;
    }
    // The live graph once it holds a few dozen readings.
    if (!(graph.isVisible() && graph.model().realTime() && graph.model().realTimeGraph().count() >= 120)) return;
    poll->stop();
    save(graph, dir / "graph-real-time.png");
    // The readings end as the window's Yes would end them.
    desktop.session().realTimeGraphClosed(true);
    graph.hide();
    saveSetupShots(desktop, dir);
    saveModemShots(desktop, dir);
    QApplication::exit(0);
  });
  poll->start(100);
}

}  // namespace brevik::ui
