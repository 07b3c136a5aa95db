// The colour dialog: picking colours, OK and Cancel, loading and saving
// colour files, and the start-up load of the ColorFileName file.

#include <QFrame>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "scripted_file_dialogs.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"
#include "ui/file_paths.h"
#include "ui/t_color_setup.h"

namespace brevik::testing {
namespace {

using graph::ColorSlots;
using graph::Rgb;

struct ColorDialog {
  TempDir home;
  settings::LoggerSettings settings;
  ScriptedPrompter prompter;
  ScriptedFileDialogs files;
  ColorSlots slots = graph::kFactoryColorSlots;
  std::vector<ColorSlots> applied;
  ui::TColorSetup dlg{slots, settings, home.path(), prompter, files.port};

  ColorDialog() {
    dlg.setAppliedAction([this](const ColorSlots& s) { applied.push_back(s); });
    dlg.show();
  }
  template <typename W>
  W* child(const QString& name) {
    W* w = dlg.findChild<W*>(name);
    if (w == nullptr) throw std::runtime_error("no control " + name.toStdString());
    return w;
  }
  void click(const QString& name) { child<QAbstractButton>(name)->click(); }
  // The colour a panel shows on screen (its middle pixel).
  Rgb shown(int slot) {
    auto* panel = child<QFrame>(QString("Panel%1").arg(slot));
    const QColor c = panel->grab().toImage().pixelColor(panel->width() / 2, panel->height() / 2);
    return Rgb{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
               static_cast<std::uint8_t>(c.blue())};
  }
  // Picks `button`'s colour for `slot` as the user does.
  void pick(int slot, const char* button) {
    click(QString("RadioButton%1").arg(slot));
    click(button);
  }
};

TEST(ColorSetup, PaletteClicksColourTheSelectedPanelOnlyOkAppliesThem) {
  struct Pick {
    int slot;
    const char* button;
    std::uint8_t index;
  };
  const Pick picks[] = {{1, "sbFuchsia", 3}, {4, "sbOlive", 13}, {5, "sbWhite", 1}, {8, "sbBlack", 16},
                        {4, "sbMaroon", 15}};
  for (const char* closing : {"OKBtn", "CancelBtn"}) {
    ColorDialog d;
    EXPECT_EQ(d.dlg.windowTitle(), "ChangeCouleurGraph");
    // Shown as written: the "&" of "Texte & Echelle" is no shortcut.
    EXPECT_EQ(d.child<QRadioButton>("RadioButton5")->text(), "Texte && Echelle");
    d.dlg.setChannel1Description("Boiler inlet    ");
    d.dlg.hide();
    d.dlg.show();
    EXPECT_EQ(d.child<QRadioButton>("RadioButton1")->text(), "Boiler inlet");
    ColorSlots picked = graph::kFactoryColorSlots;
    for (const Pick& p : picks) {
      d.pick(p.slot, p.button);
      picked[static_cast<std::size_t>(p.slot - 1)] = p.index;
      EXPECT_EQ(d.shown(p.slot), graph::paletteColor(p.index)) << p.button;
    }
    EXPECT_EQ(d.shown(2), graph::slotColor(graph::kFactoryColorSlots, 2));
    EXPECT_EQ(d.slots, graph::kFactoryColorSlots);  // the slots wait for OK
    d.click(closing);
    EXPECT_FALSE(d.dlg.isVisible());
    const bool ok = std::string(closing) == "OKBtn";
    EXPECT_EQ(d.slots, ok ? picked : graph::kFactoryColorSlots) << closing;
    EXPECT_EQ(d.applied, ok ? std::vector<ColorSlots>{picked} : std::vector<ColorSlots>{}) << closing;
    // Opened again: the panels show the slots, slot 1 selected.
    d.pick(3, "sbGray");
    d.dlg.show();
    for (int slot = 1; slot <= 8; ++slot) EXPECT_EQ(d.shown(slot), graph::slotColor(d.slots, slot)) << slot;
    EXPECT_EQ(d.dlg.selectedSlot(), 1);
    EXPECT_TRUE(d.child<QRadioButton>("RadioButton1")->isChecked());
  }
}

TEST(ColorSetup, LoadShowsTheFileAndOnlyOkCloses) {
  ColorDialog d;
  const auto file = d.home.write("mine.gcf", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n0\r\n17\r\n");
  d.files.answers.push_back(ui::qPathOf(file));
  d.click("LoadColors");
  ASSERT_EQ(d.files.requests.size(), 1u);
  const ui::FileDialogRequest& r = d.files.requests[0];
  EXPECT_EQ(r.title, "Load GraphColors File");
  EXPECT_EQ(r.filter, "GraphColors (*.gcf)");
  EXPECT_EQ(r.directory, ui::qPathOf(d.home.path()));
  EXPECT_FALSE(r.save);

  EXPECT_EQ(d.slots, (ColorSlots{1, 2, 3, 4, 5, 6, 0, 17}));
  EXPECT_EQ(d.shown(3), (Rgb{255, 0, 255}));
  EXPECT_EQ(d.shown(7), (Rgb{255, 0, 0}));  // 0 and 17 show red
  EXPECT_EQ(d.shown(8), (Rgb{255, 0, 0}));
  EXPECT_EQ(d.settings.ColorFileName, file.string());
  EXPECT_FALSE(d.child<QPushButton>("CancelBtn")->isEnabled());
  d.dlg.reject();  // Escape
  EXPECT_TRUE(d.dlg.isVisible());
  d.click("OKBtn");
  ASSERT_EQ(d.applied.size(), 1u);
  EXPECT_EQ(d.applied[0], (ColorSlots{1, 2, 3, 4, 5, 6, 7, 7}));  // the red panels are red from now on
  d.dlg.show();
  EXPECT_TRUE(d.child<QPushButton>("CancelBtn")->isEnabled());
}

TEST(ColorSetup, LoadOfABadFileShowsItsErrorAndChangesNothing) {
  ColorDialog d;
  d.pick(2, "sbYellow");
  const auto file = d.home.write("bad.gcf", "1\r\n2\r\nthree\r\n4\r\n5\r\n6\r\n7\r\n8\r\n");
  d.files.answers.push_back(ui::qPathOf(file));
  d.click("LoadColors");
  ASSERT_EQ(d.prompter.messages.size(), 1u);
  EXPECT_EQ(d.prompter.messages[0].kind, MessageKind::Error);
  EXPECT_NE(d.prompter.messages[0].text.find("bad.gcf"), std::string::npos) << d.prompter.messages[0].text;
  EXPECT_EQ(d.slots, graph::kFactoryColorSlots);
  EXPECT_EQ(d.shown(2), (Rgb{255, 255, 0}));  // the pick so far stays
  EXPECT_EQ(d.settings.ColorFileName, "default.gcf");
  EXPECT_TRUE(d.child<QPushButton>("CancelBtn")->isEnabled());
}

TEST(ColorSetup, SaveWritesThePanelsUnderAGcfName) {
  struct Case {
    const char* chosen;   // "": the save dialog cancelled
    const char* written;  // nullptr: nothing written, ColorFileName kept
    bool error;
  };
  const Case cases[] = {{"mine", "mine.GCF", false},     {"mine.gcf", "mine.gcf", false},
                        {"Mine.GcF", "Mine.GcF", false}, {"mine.txt", "mine.GCF", false},
                        {"", nullptr, false},            {"no-such-folder/x.gcf", nullptr, true}};
  for (const Case& c : cases) {
    ColorDialog d;
    d.pick(6, "sbSilver");
    d.files.answers.push_back(*c.chosen != '\0' ? ui::qPathOf(d.home / c.chosen) : QString());
    d.click("SaveColors");
    ASSERT_EQ(d.files.requests.size(), 1u);
    const ui::FileDialogRequest& r = d.files.requests[0];
    EXPECT_EQ(r.title, "Save current Graph Colors");
    EXPECT_EQ(r.filter, "GraphColors (*.gcf)");
    EXPECT_EQ(r.defaultSuffix, "gcf");
    EXPECT_TRUE(r.save);
    ColorSlots panels = graph::kFactoryColorSlots;
    panels[5] = 9;
    EXPECT_EQ(d.slots, *c.chosen != '\0' ? panels : graph::kFactoryColorSlots) << c.chosen;
    EXPECT_EQ(d.prompter.messages.size(), c.error ? 1u : 0u) << c.chosen;
    if (c.written == nullptr) {
      EXPECT_EQ(d.settings.ColorFileName, "default.gcf");
      continue;
    }
    EXPECT_EQ(d.home.read(c.written), graph::formatColorFile(panels)) << c.chosen;
    EXPECT_EQ(d.settings.ColorFileName, (d.home / c.written).string());
  }
}

TEST(ColorSetup, StartupLoadFallsBackToTheFactoryColoursOnce) {
  TempDir home;
  settings::LoggerSettings settings;
  settings.ColorFileName = "C:\\KVL\\gone.gcf";
  ScriptedPrompter prompter;
  EXPECT_EQ(ui::loadStartupColorSlots(home.path(), settings, prompter), graph::kFactoryColorSlots);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0],
            (Message{MessageKind::Warning, "Graph color file: C:\\KVL\\gone.gcf not found; loading factory defaults",
                     Buttons::Ok, 0}));
  EXPECT_EQ(settings.ColorFileName, "default.gcf");
  EXPECT_EQ(home.read("default.gcf"), "10\r\n6\r\n4\r\n7\r\n16\r\n10\r\n1\r\n1\r\n");
  // From then on the file is there: no warning.
  home.write("default.gcf", "2\r\n2\r\n2\r\n2\r\n2\r\n2\r\n2\r\n2\r\n");
  EXPECT_EQ(ui::loadStartupColorSlots(home.path(), settings, prompter), (ColorSlots{2, 2, 2, 2, 2, 2, 2, 2}));
  EXPECT_EQ(prompter.messages.size(), 1u);
  // A home where default.gcf cannot be written: the warning, then the error.
  EXPECT_EQ(ui::loadStartupColorSlots(home / "missing", settings, prompter), graph::kFactoryColorSlots);
  ASSERT_EQ(prompter.messages.size(), 3u);
  EXPECT_EQ(prompter.messages[1].kind, MessageKind::Warning);
  EXPECT_EQ(prompter.messages[2].kind, MessageKind::Error);
  EXPECT_NE(prompter.messages[2].text.find("default.gcf"), std::string::npos) << prompter.messages[2].text;
}

}  // namespace
}  // namespace brevik::testing
