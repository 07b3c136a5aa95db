#pragma once
// The colour dialog (TColorSetup): a palette colour for each of the eight
// colour slots, applied to the graph on OK, kept in graph colour files. The
// panels hold the colours being chosen; the slots change only on OK, Save
// and Load.

#include <QDialog>
#include <array>
#include <filesystem>
#include <functional>
#include <string>

#include "common/prompter.h"
#include "graph/graph_colors.h"
#include "settings/logger_settings.h"
#include "ui/file_dialogs.h"

class QFrame;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace brevik::ui {

// Reads the colour file named by the ColorFileName setting at start-up. A
// missing or unusable file gives the factory colours: its warning is shown,
// ColorFileName becomes "default.gcf" and a failure to write that file is
// shown as an error.
graph::ColorSlots loadStartupColorSlots(const std::filesystem::path& home, settings::LoggerSettings& settings,
                                        Prompter& prompter);

class TColorSetup final : public QDialog {
  Q_OBJECT

 public:
  // `slots` are the program's colour slots, changed by OK, Save and Load;
  // colour files are chosen in `home`.
  TColorSetup(graph::ColorSlots& slots, settings::LoggerSettings& settings, std::filesystem::path home,
              Prompter& prompter, FileDialogs fileDialogs, QWidget* parent = nullptr);

  // OK passes the slots to the chart.
  void setAppliedAction(std::function<void(const graph::ColorSlots&)> action) { applied_ = std::move(action); }
  void setHelpAction(std::function<void()> action) { help_ = std::move(action); }
  // RadioButton1 shows channel 1's description (Windows-1252, trailing
  // blanks removed) from the next show on.
  void setChannel1Description(const std::string& description);

  // FormShow: the panels take the slots' colours, slot 1 is selected.
  void showSlots();
  int selectedSlot() const { return selected_; }
  graph::Rgb panelColor(int slot) const { return panels_.at(static_cast<std::size_t>(slot - 1)); }

 public Q_SLOTS:
  void reject() override;

 private Q_SLOTS:
  void LoadColorsClick();
  void SaveColorsClick();
  void OKBtnClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void selectSlot(int slot);
  void paintPanel(int slot, graph::Rgb color);
  void panelsToSlots();
  void showError(const std::string& text);

  graph::ColorSlots& slots_;
  settings::LoggerSettings& settings_;
  std::filesystem::path home_;
  Prompter& prompter_;
  FileDialogs fileDialogs_;
  std::array<graph::Rgb, graph::kColorSlotCount> panels_{};
  std::array<QFrame*, graph::kColorSlotCount> panelFrames_{};
  std::array<QRadioButton*, graph::kColorSlotCount> radios_{};
  QPushButton* cancel_ = nullptr;
  int selected_ = 1;
  QString channel1Caption_;
  std::function<void(const graph::ColorSlots&)> applied_;
  std::function<void()> help_;
};

}  // namespace brevik::ui
