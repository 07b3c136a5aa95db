#pragma once
// The graph window (form Graph): the chart PESGraph1 of the loaded data
// file, its two menus, opening files, the view options, drag-to-zoom,
// printing and exporting. The rules live in graph::GraphModel; this window
// forwards the user's commands to it and draws what it plans.

#include <QMainWindow>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "common/prompter.h"
#include "graph/graph_colors.h"
#include "graph/graph_model.h"
#include "graph/viewport_dialog_model.h"
#include "ui/file_dialogs.h"
#include "ui/graph_menus.h"

class QCustomPlot;

namespace brevik::ui {

class TAsciiDlg;
class TColorSetup;
class TExpDialog;
class TGraphicExportDlg;
class TViewPortsDlg;

// The filter of the open dialog.
inline constexpr const char* kDataFileFilter = "All QX data|*.QX1|QX2 data (*.QX2)|*.QX2|MT5 data (*.QX5)|*.QX5";

class TGraph final : public QMainWindow {
  Q_OBJECT

 public:
  // Without `fileDialogs` the window shows QFileDialog.
  TGraph(graph::GraphModel& model, Prompter& prompter, FileDialogs fileDialogs, std::filesystem::path home,
         QWidget* parent = nullptr);
  ~TGraph() override;

  // The help topic opener, and what closing the window gives back (the main
  // window shown).
  void setHelpAction(std::function<void(int topic)> action) { help_ = std::move(action); }
  void setClosedAction(std::function<void()> action) { closed_ = std::move(action); }
  // Closing during a real-time graph: the answer to "Vider le tampon
  // graphique?" (true: the readings end).
  void setRealTimeClosedAction(std::function<void(bool endReadings)> action) { realTimeClosed_ = std::move(action); }
  // The PC clock in chart seconds (the real-time graph's "now").
  void setClock(std::function<double()> now) { now_ = std::move(now); }

  // The start-up load of the colour file (its warning through the prompter).
  void loadStartupColors();

  // File2 / File3 and the main window's Open1: the open dialog, then the
  // file loaded and drawn. False when cancelled or the load failed (the
  // window then shows what it showed).
  bool chooseAndOpen();
  // Loads a file with its messages; false when it failed.
  bool openFile(const std::filesystem::path& fileName);
  // Shows the window with the file loaded while it is being shown (after a
  // download, the command line's data file).
  void showFile(const std::filesystem::path& fileName);
  // Graph1: the last loaded file (DataFileName when none is loaded yet).
  void showCurrent();

  // The real-time graph: a reading arrived (the first one shows the
  // window), the graph shown again from the main window, its end.
  void realTimeReading(bool first);
  void showRealTime();
  void realTimeEnded();
  bool mouseDown() const { return mouseDown_; }

  // Every menu command, as both menus send it.
  void command(GraphCommand command);
  // A dragged zoom box, in chart seconds.
  void zoomTo(double from, double to);

  QCustomPlot& chart() { return *chart_; }
  GraphMenus& menus() { return *menus_; }
  graph::GraphModel& model() { return model_; }
  TColorSetup& colorSetup() { return *colorSetup_; }
  TViewPortsDlg& viewportsDialog() { return *viewports_; }
  TExpDialog& exportDialog() { return *exportChoice_; }
  TAsciiDlg& asciiDialog() { return *ascii_; }
  TGraphicExportDlg& graphicExportDialog() { return *graphicExport_; }

  // Redraws the chart from the model (the rebuild after a load or a zoom).
  void rebuild();
  // The viewport dialog set up on the chart's present arrangement, the
  // colour dialog on the chart's colours.
  void prepareViewportsDialog();
  void prepareColorSetup();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void openHelp(int topic);
  double now() const;
  void showSized();
  void syncMenus();
  void setOption(GraphCommand command);
  void setUnits(GraphCommand command);
  void showMessage(MessageKind kind, const std::string& text);
  void openViewports();
  void openColors();
  void exportChart();
  void exportGraphic();
  void printChart();

  graph::GraphModel& model_;
  Prompter& prompter_;
  FileDialogs fileDialogs_;
  std::filesystem::path home_;
  std::function<void(int)> help_;
  std::function<void()> closed_;
  std::function<void(bool)> realTimeClosed_;
  std::function<double()> now_;
  bool mouseDown_ = false;  // a zoom box is being dragged: the live chart waits
  QCustomPlot* chart_ = nullptr;
  std::unique_ptr<GraphMenus> menus_;
  graph::ColorSlots colorSlots_;  // what the colour dialog edits
  graph::ViewportDialogModel viewportModel_;
  TColorSetup* colorSetup_ = nullptr;
  TViewPortsDlg* viewports_ = nullptr;
  TExpDialog* exportChoice_ = nullptr;
  TAsciiDlg* ascii_ = nullptr;
  TGraphicExportDlg* graphicExport_ = nullptr;
};

}  // namespace brevik::ui
