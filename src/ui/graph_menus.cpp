#include "ui/graph_menus.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

namespace brevik::ui {

namespace {

constexpr int kMain = 0;
constexpr int kPopup = 1;

struct Choice {
  GraphCommand command;
  const char* key;  // objectName suffix: "<menu>_<key>"
  const char* mainCaption;
  const char* popupCaption;
};

// A submenu of choices, one checked at a time.
struct ChoiceMenu {
  const char* mainName;
  const char* mainCaption;
  const char* popupName;
  const char* popupCaption;
  std::vector<Choice> choices;
};

// A plain command or a toggle.
struct Item {
  GraphCommand command;
  const char* mainName;  // nullptr: not in the main menu
  const char* mainCaption;
  const char* popupName;  // nullptr: not in the right-click menu
  const char* popupCaption;
  bool checkable = false;
};

const std::vector<ChoiceMenu>& choiceMenus() {
  static const std::vector<ChoiceMenu> menus = {
      {"FontSize2", "Font &Size", "FontSize1", "Font &Size",
       {{GraphCommand::FontLarge, "Large", "Large", "Large"},
        {GraphCommand::FontMedium, "Medium", "Medium", "Medium"},
        {GraphCommand::FontSmall, "Small", "Small", "Small"}}},
      {"GridLines2", "Grid &Lines", "GridLines1", "Grid &Lines",
       {{GraphCommand::GridBoth, "Both", "Les 2 axes X et Y", "Les 2 axesX et Y "},
        {GraphCommand::GridY, "YAxis", "Axe Y ", "Axe Y "},
        {GraphCommand::GridX, "XAxis", "X Axis", "X Axis"},
        {GraphCommand::GridNone, "None", "No Grid", "PasGril"}}},
      {"Temperature1", "&Température", "Temperature2", "&Temperature",
       {{GraphCommand::Fahrenheit, "Fahrenheit", "Fahrenheit", "Fahrenheit"},
        {GraphCommand::Celsius, "Celsius", "Celsius", "Celsius"}}},
      {"Moisture1", "&Humidité", "Moisture2", "&Moisture",
       {{GraphCommand::HumidityRh, "Rh", "% RH", "% RH"},
        {GraphCommand::HumidityWetBulb, "WetBulb", "BulbHumi", "Wet Bulb"},
        {GraphCommand::HumidityDewPoint, "DewPoint", "Pt.Rosée ", "Dew Point"}}},
      {"NumericPrecision2", "Numériq &Precision", "NumericPrecision1", "Numeric &Precision",
       {{GraphCommand::NoDecimals, "NoDecimals", "Pas Décimal", "No Decimals"},
        {GraphCommand::OneDecimal, "OneDecimal", "Un  Décimal", "One Decimal"},
        {GraphCommand::TwoDecimals, "TwoDecimals", "DeuxDécimaux", "Two Decimals"},
        {GraphCommand::ThreeDecimals, "ThreeDecimals", "Trois Décimaux", "Three Decimals"}}},
      {"ShowFileName2", "FichiN&om ", "ShowFileName1", "File N&ame",
       {{GraphCommand::NameOnly, "NameOnly", "Nom seul ", "Name Only"},
        {GraphCommand::PathAndName, "PathAndName", "Chem.+ Nom ", "Path + Name"},
        {GraphCommand::NoFileName, "None", "Sans", "Sans"}}},
      {"DisplayMode1", "&Mode écran  ", "DisplayMode2", "&Display Mode",
       {{GraphCommand::Color, "Color", "Color", "Color"},
        {GraphCommand::Monochrome, "Monochrome", "Monochrome", "Monochrome"},
        {GraphCommand::MonochromeSymbols, "MonochromeSymbols", "Monochrome + Symbole", "Monochrome + Symbols"}}},
  };
  return menus;
}

QString utf8(const char* text) { return QString::fromUtf8(text); }

}  // namespace

GraphMenus::GraphMenus(QMenuBar& bar, QWidget& window, Handler handler) {
  popup_ = new QMenu(&window);
  popup_->setObjectName("PopupMenu1");

  auto makeAction = [&](QWidget* owner, const char* name, const char* caption, GraphCommand command, bool checkable) {
    auto* action = new QAction(utf8(caption), owner);
    action->setObjectName(name);
    action->setCheckable(checkable);
    QObject::connect(action, &QAction::triggered, &window, [handler, command] { handler(command); });
    return action;
  };

  QMenu* file = bar.addMenu("&File");
  file->setObjectName("File1");
  QMenu* change = bar.addMenu("&Change");
  change->setObjectName("Setup1");

  const std::vector<Item> fileItems = {
      {GraphCommand::Open, "File2", "&Open", "File3", "&Open"},
      {GraphCommand::Export, "Export1", "&Export", nullptr, nullptr},
      {GraphCommand::Print, "Print1", "&Print", nullptr, nullptr},
      {GraphCommand::Exit, "Exit1", "Exit Graph", nullptr, nullptr},
  };
  const std::array<QKeySequence, 4> fileKeys = {QKeySequence("Ctrl+O"), QKeySequence("Ctrl+E"),
                                                QKeySequence("Ctrl+P"), QKeySequence("Ctrl+X")};
  for (std::size_t i = 0; i < fileItems.size(); ++i) {
    const Item& item = fileItems[i];
    QAction* a = makeAction(file, item.mainName, item.mainCaption, item.command, false);
    a->setShortcut(fileKeys[i]);
    // The shortcuts work wherever the focus is in the window.
    a->setShortcutContext(Qt::WindowShortcut);
    file->addAction(a);
    add(item.command, a, kMain);
  }

  // The main menu's Change heading and the right-click menu hold the view
  // items in their own orders.
  const Item viewports{GraphCommand::Viewports, "Viewports1", "&VisuForme", "ViewportDialog1", "&VisuForme"};
  const Item gridInFront{GraphCommand::GridInFront, "GridinFront2", "&Grille devant", "GridinFront1", "&Grille devant", true};
  const Item marks{GraphCommand::MarkDataPoints, "MarkDataPoints1", "Ma&rk Data Points", "MarkDataPoints2",
                   "Ma&rqer lesPoints", true};
  const Item thick{GraphCommand::ThickPlotting, "ThickPlotting1", "T&race épaisse ", "ThickPlotting2",
                   "T&hick Plotting", true};
  const Item undo{GraphCommand::UndoZoom, "UndoZoom2", "RAZ  &Zoom", "UndoZoom1", "Undo &Zoom"};
  const Item colors{GraphCommand::Colors, "Colors3", "&Colors", "Colors1", "&Colors"};
  const Item exportItem{GraphCommand::Export, nullptr, nullptr, "ExportDialog1", "&Export"};
  const Item print{GraphCommand::Print, nullptr, nullptr, "Print2", "&Print"};

  auto addItem = [&](QMenu* menu, const Item& item, int which) {
    const char* name = which == kMain ? item.mainName : item.popupName;
    const char* caption = which == kMain ? item.mainCaption : item.popupCaption;
    QAction* a = makeAction(menu, name, caption, item.command, item.checkable);
    menu->addAction(a);
    add(item.command, a, which);
  };
  auto addChoices = [&](QMenu* parent, const ChoiceMenu& choices, int which) {
    QMenu* sub = parent->addMenu(utf8(which == kMain ? choices.mainCaption : choices.popupCaption));
    const char* menuName = which == kMain ? choices.mainName : choices.popupName;
    sub->setObjectName(menuName);
    auto* group = new QActionGroup(sub);
    group->setExclusive(true);
    for (const Choice& c : choices.choices) {
      const QString name = QString("%1_%2").arg(menuName, c.key);
      QAction* a = makeAction(sub, "", which == kMain ? c.mainCaption : c.popupCaption, c.command, true);
      a->setObjectName(name);
      group->addAction(a);
      sub->addAction(a);
      add(c.command, a, which);
    }
  };
  const std::vector<ChoiceMenu>& menus = choiceMenus();
  auto choiceMenu = [&](const char* mainName) -> const ChoiceMenu& {
    for (const ChoiceMenu& m : menus)
      if (QString(m.mainName) == mainName) return m;
    return menus.front();
  };

  addItem(change, viewports, kMain);
  addChoices(change, choiceMenu("FontSize2"), kMain);
  addChoices(change, choiceMenu("GridLines2"), kMain);
  addItem(change, gridInFront, kMain);
  addItem(change, marks, kMain);
  addItem(change, thick, kMain);
  addItem(change, undo, kMain);
  addItem(change, colors, kMain);
  addChoices(change, choiceMenu("Temperature1"), kMain);
  addChoices(change, choiceMenu("Moisture1"), kMain);
  addChoices(change, choiceMenu("NumericPrecision2"), kMain);
  addChoices(change, choiceMenu("ShowFileName2"), kMain);
  addChoices(change, choiceMenu("DisplayMode1"), kMain);

  QAction* help = makeAction(&bar, "Help1", "&Help", GraphCommand::Help, false);
  help->setShortcut(QKeySequence("Ctrl+F"));
  help->setShortcutContext(Qt::WindowShortcut);
  bar.addAction(help);
  window.addAction(help);
  add(GraphCommand::Help, help, kMain);

  addItem(popup_, fileItems.front(), kPopup);
  addItem(popup_, viewports, kPopup);
  addChoices(popup_, choiceMenu("FontSize2"), kPopup);
  addChoices(popup_, choiceMenu("GridLines2"), kPopup);
  addItem(popup_, gridInFront, kPopup);
  addItem(popup_, marks, kPopup);
  addItem(popup_, thick, kPopup);
  addItem(popup_, undo, kPopup);
  addItem(popup_, exportItem, kPopup);
  addItem(popup_, colors, kPopup);
  addChoices(popup_, choiceMenu("Temperature1"), kPopup);
  addChoices(popup_, choiceMenu("Moisture1"), kPopup);
  addChoices(popup_, choiceMenu("NumericPrecision2"), kPopup);
  addChoices(popup_, choiceMenu("ShowFileName2"), kPopup);
  addChoices(popup_, choiceMenu("DisplayMode1"), kPopup);
  addItem(popup_, print, kPopup);
}

void GraphMenus::add(GraphCommand command, QAction* action, int menu) {
  auto& pair = actions_[command];
  pair[static_cast<std::size_t>(menu)] = action;
}

std::array<QAction*, 2> GraphMenus::twins(GraphCommand command) const {
  auto it = actions_.find(command);
  return it == actions_.end() ? std::array<QAction*, 2>{nullptr, nullptr} : it->second;
}

void GraphMenus::setChecked(GraphCommand command, bool checked) {
  for (QAction* a : twins(command))
    if (a != nullptr) a->setChecked(checked);
}

void GraphMenus::setEnabled(GraphCommand command, bool enabled) {
  for (QAction* a : twins(command))
    if (a != nullptr) a->setEnabled(enabled);
}

}  // namespace brevik::ui
