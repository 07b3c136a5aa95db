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
#include "ui/brevik_desktop.h"
#include "ui/t_ascii_dlg.h"
#include "ui/t_color_setup.h"
#include "ui/t_graph.h"
#include "ui/t_main.h"
#include "ui/t_status.h"
#include "ui/t_viewports_dlg.h"

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
    QApplication::exit(0);
  });
  poll->start(100);
}

}  // namespace brevik::ui
