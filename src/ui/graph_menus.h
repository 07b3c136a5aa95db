#pragma once
// The graph window's two menus: the main menu and the right-click menu
// PopupMenu1 repeat the same commands under their own captions. Each
// command is a pair of twin actions that are checked, unchecked, enabled
// and disabled together, so the two menus never disagree.

#include <QString>
#include <array>
#include <functional>
#include <map>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace brevik::ui {

// Every command of the graph window's menus.
enum class GraphCommand {
  Open,
  Export,
  Print,
  Exit,
  Viewports,
  GridInFront,
  MarkDataPoints,
  ThickPlotting,
  UndoZoom,
  Colors,
  Help,
  // One choice of a group (below).
  FontLarge,
  FontMedium,
  FontSmall,
  GridBoth,
  GridY,
  GridX,
  GridNone,
  Fahrenheit,
  Celsius,
  HumidityRh,
  HumidityWetBulb,
  HumidityDewPoint,
  NoDecimals,
  OneDecimal,
  TwoDecimals,
  ThreeDecimals,
  NameOnly,
  PathAndName,
  NoFileName,
  Color,
  Monochrome,
  MonochromeSymbols,
};

class GraphMenus {
 public:
  using Handler = std::function<void(GraphCommand)>;

  // Builds both menus on `window`'s menu bar and in PopupMenu1.
  GraphMenus(QMenuBar& bar, QWidget& window, Handler handler);

  QMenu& popup() { return *popup_; }
  void setChecked(GraphCommand command, bool checked);
  void setEnabled(GraphCommand command, bool enabled);
  // The twins of a command: the main menu's first (either may be null: a
  // command of one menu only).
  std::array<QAction*, 2> twins(GraphCommand command) const;

 private:
  void add(GraphCommand command, QAction* action, int menu);

  QMenu* popup_ = nullptr;
  std::map<GraphCommand, std::array<QAction*, 2>> actions_;
};

}  // namespace brevik::ui
