// The viewport dialog: the window shows what its model says after each
// spinner click, hide box and "ToutVoir", and OK hands back the arrangement.

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

#include "support/scripted_prompter.h"
#include "ui/t_viewports_dlg.h"
#include "ui/text.h"

namespace brevik::testing {
namespace {

using graph::ViewportLayout;

struct ViewportsDialog {
  graph::ViewportDialogModel model;
  ScriptedPrompter prompter;
  std::unique_ptr<ui::TViewPortsDlg> dlg;

  explicit ViewportsDialog(std::vector<int> channels, int count = 1, ViewportLayout layout = {4, 0, 0, 0}) {
    model.setFile(std::move(channels), {"Air   ", "Water", "Door", "Probe"});
    model.setArrangement(count, layout, {true, true, true, true});
    dlg = std::make_unique<ui::TViewPortsDlg>(model, prompter);
    dlg->show();
  }
  template <typename W>
  W* get(const QString& name) {
    W* w = dlg->findChild<W*>(name);
    if (w == nullptr) throw std::runtime_error("no control " + name.toStdString());
    return w;
  }
  void click(const QString& name) { get<QAbstractButton>(name)->click(); }
  bool shown(const QString& name) { return get<QWidget>(name)->isVisible(); }
  QStringList lines(const char* list) {
    QStringList out;
    auto* w = get<QListWidget>(list);
    for (int i = 0; i < w->count(); ++i) out << w->item(i)->text();
    return out;
  }
};

const QString kSep = "--------------------------------------";

TEST(ViewPortsDlg, SpinnersFollowTheModel) {
  struct Step {
    const char* button;
    QString label;
    QStringList list;
    bool spinner1, spinner2;
  };
  const QString one = QString::fromUtf8("1 Fenétre ");
  const QString two = QString::fromUtf8("2 Fenétres ");
  const QString three = QString::fromUtf8("3 Fenétres ");
  const QString four = QString::fromUtf8("4 Fenétres ");
  const Step steps[] = {
      {"OvcSpinner1Up", three, {"1 Air", kSep, "2 Water", "3 Door", kSep, "4 Probe"}, true, true},
      {"OvcSpinner2Up", three, {"1 Air", kSep, "2 Water", kSep, "3 Door", "4 Probe"}, false, true},
      {"OvcSpinner3Up", four, {"1 Air", kSep, "2 Water", kSep, "3 Door", kSep, "4 Probe"}, false, false},
      {"OvcSpinner3Up", one, {"1 Air", "2 Water", "3 Door", "4 Probe"}, false, false},  // wraps past C
      {"OvcSpinner3Down", four, {"1 Air", kSep, "2 Water", kSep, "3 Door", kSep, "4 Probe"}, false, false},
      {"OvcSpinner3Down", three, {"1 Air", "2 Water", kSep, "3 Door", kSep, "4 Probe"}, true, false},
      {"OvcSpinner3Down", two, {"1 Air", "2 Water", kSep, "3 Door", "4 Probe"}, true, false},
      {"OvcSpinner1Down", two, {"1 Air", "2 Water", "3 Door", kSep, "4 Probe"}, true, false},
  };
  ViewportsDialog d({1, 2, 3, 4}, 3, {2, 1, 1, 0});
  EXPECT_EQ(d.dlg->windowTitle(), "Config. visu.");
  EXPECT_EQ(d.get<QLabel>("Label1")->text(), three);
  EXPECT_TRUE(d.shown("OvcSpinner1"));
  EXPECT_FALSE(d.shown("OvcSpinner2"));
  for (const Step& s : steps) {
    d.click(s.button);
    EXPECT_EQ(d.get<QLabel>("Label1")->text(), s.label) << s.button;
    EXPECT_EQ(d.lines("ListBox1"), s.list) << s.button;
    EXPECT_EQ(d.shown("OvcSpinner1"), s.spinner1) << s.button;
    EXPECT_EQ(d.shown("OvcSpinner2"), s.spinner2) << s.button;
    EXPECT_TRUE(d.shown("OvcSpinner3"));
  }
  d.click("OKBtn");
  EXPECT_FALSE(d.dlg->isVisible());
  EXPECT_EQ(d.dlg->arrangement(),
            (ui::ViewportArrangement{2, {3, 1, 0, 0}, {true, true, true, true}}));
}

TEST(ViewPortsDlg, HidingChannelsAndItsRefusals) {
  struct Step {
    const char* box;
    bool realTime;
    std::optional<Message> refusal;
    std::array<bool, 4> checked;
    QStringList hidden;
  };
  const Message lastOne{MessageKind::Warning, "At least one channel must be visible."};
  const Message realTime{MessageKind::Information, "Hiding channels is not available with Real Time Graph"};
  const Step steps[] = {
      {"Hide2", true, realTime, {false, false, false, false}, {}},
      {"Hide2", false, std::nullopt, {false, true, false, false}, {"2 Water"}},
      {"Hide1", false, std::nullopt, {true, true, false, false}, {"1 Air", "2 Water"}},
      {"Hide3", false, lastOne, {true, true, false, false}, {"1 Air", "2 Water"}},
      {"Hide1", false, std::nullopt, {false, true, false, false}, {"2 Water"}},  // shown again
  };
  ViewportsDialog d({1, 2, 3});
  EXPECT_FALSE(d.shown("Hide4"));  // not a channel of the file
  EXPECT_EQ(d.get<QLabel>("HideLabel")->text(), "Sans");
  for (const Step& s : steps) {
    d.prompter.messages.clear();
    d.dlg->setRealTime(s.realTime);
    d.click(s.box);
    EXPECT_EQ(d.prompter.messages, s.refusal ? std::vector<Message>{*s.refusal} : std::vector<Message>{}) << s.box;
    for (int c = 1; c <= 3; ++c)
      EXPECT_EQ(d.get<QCheckBox>(QString("Hide%1").arg(c))->isChecked(), s.checked[static_cast<std::size_t>(c - 1)])
          << s.box << " then Hide" << c;
    EXPECT_EQ(d.lines("HideBox1"), s.hidden) << s.box;
  }
  EXPECT_EQ(d.lines("ListBox1"), (QStringList{"1 Air", "3 Door"}));
  d.click("OvcSpinner3Up");
  d.click("AllBtn");
  EXPECT_EQ(d.lines("ListBox1"), (QStringList{"1 Air", "2 Water", "3 Door"}));
  EXPECT_TRUE(d.lines("HideBox1").isEmpty());
  EXPECT_EQ(d.get<QLabel>("Label1")->text(), QString::fromUtf8("1 Fenétre "));
  EXPECT_FALSE(d.get<QCheckBox>("Hide2")->isChecked());
}

TEST(ViewPortsDlg, OneChannelFileHasNothingToHideAndCancelReturnsNothing) {
  ViewportsDialog d({2});
  for (const char* name : {"Hide1", "Hide2", "Hide3", "Hide4", "HideBox1", "HideLabel", "AllBtn"})
    EXPECT_FALSE(d.shown(name)) << name;
  EXPECT_EQ(d.lines("ListBox1"), (QStringList{"2 Water"}));
  d.click("OvcSpinner3Up");
  EXPECT_EQ(d.get<QLabel>("Label1")->text(), QString::fromUtf8("1 Fenétre "));
  d.click("CancelBtn");
  EXPECT_FALSE(d.dlg->isVisible());
  EXPECT_EQ(d.dlg->arrangement(), std::nullopt);
}

}  // namespace
}  // namespace brevik::testing
