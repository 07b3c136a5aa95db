#include "ui/demo.h"

#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <cstdlib>
#include <random>

#include "settings/home.h"
#include "settings/logger_settings.h"
#include "common/files.h"
#include "ui/brevik_desktop.h"
#include "ui/t_main.h"
#include "ui/t_status.h"

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

void startDemo(BrevikDesktop& desktop) {
  desktop.start();
  const char* shots = std::getenv("BREVIK_DEMO_SCREENSHOTS");
  if (shots == nullptr || *shots == '\0') return;
  const std::filesystem::path dir(shots);
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  // Read a status once the window is up, then wait for the status form.
  QTimer::singleShot(500, qApp, [&desktop] { desktop.session().readStatus(); });
  auto* poll = new QTimer(qApp);
  auto waited = std::make_shared<int>(0);
  QObject::connect(poll, &QTimer::timeout, qApp, [&desktop, dir, poll, waited] {
    ++*waited;
    const bool done = desktop.statusForm().isVisible() &&
                      desktop.session().context().kind == link::ExchangeKind::None;
    if (!done && *waited < 600) return;  // at most a minute
    poll->stop();
    desktop.mainWindow().grab().save(QString::fromStdString((dir / "main.png").string()));
    if (desktop.statusForm().isVisible())
      desktop.statusForm().grab().save(QString::fromStdString((dir / "status.png").string()));
    QApplication::exit(done ? 0 : 1);
  });
  poll->start(100);
}

}  // namespace brevik::ui
