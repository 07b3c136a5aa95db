// The linear scaling and contact values dialogs, and the three calculators
// that fill the linear one: their fields, results, messages (which keep the
// dialog open) and Cancel.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>

#include "setup/scaling_calculators.h"
#include "support/scripted_prompter.h"
#include "ui/t_adjust1.h"
#include "ui/t_cloop.h"
#include "ui/t_contact_dlg.h"
#include "ui/t_lin_tran.h"
#include "ui/t_linscale_dlg.h"
#include "ui/text.h"

namespace brevik::testing {
namespace {

template <typename W>
W* child(QWidget& parent, const QString& name) {
  W* w = parent.findChild<W*>(name);
  if (w == nullptr) throw std::runtime_error("no control " + name.toStdString());
  return w;
}

std::string text(QWidget& dlg, const char* field) { return child<QLineEdit>(dlg, field)->text().toStdString(); }
void type(QWidget& dlg, const char* field, const QString& value) { child<QLineEdit>(dlg, field)->setText(value); }
void click(QWidget& dlg, const char* button) { child<QPushButton>(dlg, button)->click(); }

using Pair = std::optional<std::pair<std::string, std::string>>;
Pair asPair(const std::optional<setup::ScalePair>& p) {
  if (!p) return std::nullopt;
  return std::pair{p->low, p->high};
}

Message error(std::string_view text) { return Message{MessageKind::Error, std::string(text), Buttons::Ok, 0}; }

// The linear and the contact dialog behind one face, so one table runs on both.
struct PairDialog {
  ScriptedPrompter prompter;
  std::unique_ptr<QDialog> dlg;
  std::function<std::optional<setup::ScalePair>()> accepted;
  std::function<void()> prepare;

  explicit PairDialog(bool linear) {
    if (linear) {
      auto* d = new ui::TLinscaleDlg(prompter);
      dlg.reset(d);
      accepted = [d] { return d->accepted(); };
      prepare = [d] { d->prepare("Linear: 0.0000 / 100.00"); };
    } else {
      auto* d = new ui::TContactDlg(prompter);
      dlg.reset(d);
      accepted = [d] { return d->accepted(); };
      prepare = [d] { d->prepare(); };
    }
    prepare();
    dlg->show();
  }
};

TEST(ScalePairDialogs, CaptionsLabelsAndFields) {
  struct Case {
    bool linear;
    const char* caption;
    const char* lowLabel;
    const char* highLabel;
  };
  const Case cases[] = {{true, "Nlle Echel.Linéa", "Val. Bas:", "Val.Haut:"},
                        {false, "Valeurs Etat fermé    ", "Ouve:", "Fermé :"}};
  for (const Case& c : cases) {
    PairDialog d(c.linear);
    EXPECT_EQ(d.dlg->windowTitle(), QString::fromUtf8(c.caption));
    EXPECT_EQ(child<QWidget>(*d.dlg, "LoVal_dlgLabel")->property("text").toString(), QString::fromUtf8(c.lowLabel));
    EXPECT_EQ(child<QWidget>(*d.dlg, "HiVal_dlgLabel")->property("text").toString(), QString::fromUtf8(c.highLabel));
    for (const char* field : {"LoVal_dlg", "HiVal_dlg"}) EXPECT_EQ(child<QLineEdit>(*d.dlg, field)->maxLength(), 6);
    EXPECT_EQ(d.dlg->focusWidget(), child<QWidget>(*d.dlg, "LoVal_dlg"));
    EXPECT_EQ(d.dlg->findChild<QPushButton*>("CLBtn") != nullptr, c.linear);
  }
  PairDialog linear(true);
  EXPECT_EQ(child<QPushButton>(*linear.dlg, "CLBtn")->text(), "Boucle mA   ");
  EXPECT_EQ(child<QPushButton>(*linear.dlg, "LTBtn")->text(), QString::fromUtf8("Capteur linéaire "));
  EXPECT_EQ(child<QPushButton>(*linear.dlg, "AdjustBtn")->text(), "Calib.Echel.");
  EXPECT_EQ(child<QWidget>(*linear.dlg, "CalcGroup")->property("title").toString(), "Calculer ");
}

TEST(ScalePairDialogs, OkAcceptsSixCharacterPairsOrShowsWhyAndStaysOpen) {
  struct Case {
    const char* low;
    const char* high;
    Pair pair;
    const char* message;  // nullptr: accepted
  };
  const Case cases[] = {
      {"5", "10", std::pair{"5.0000", "10.000"}, nullptr},
      {"-5", "12.5", std::pair{"-5.000", "12.500"}, nullptr},
      {"", "7", std::pair{"0.0000", "7.0000"}, nullptr},
      {"0", "0", std::nullopt, "One value must be non-zero"},
      {"", "", std::nullopt, "One value must be non-zero"},
      {"3", "3.0", std::nullopt, "Values must be different"},
      {"abc", "1", std::nullopt, "Not a number: abc"},
  };
  for (bool linear : {true, false}) {
    for (const Case& c : cases) {
      PairDialog d(linear);
      type(*d.dlg, "LoVal_dlg", c.low);
      type(*d.dlg, "HiVal_dlg", c.high);
      child<QWidget>(*d.dlg, "HiVal_dlg")->setFocus();
      click(*d.dlg, "OKBtn");
      EXPECT_EQ(asPair(d.accepted()), c.pair) << c.low << " " << c.high;
      EXPECT_EQ(d.dlg->isVisible(), c.message != nullptr) << c.low << " " << c.high;
      if (c.message == nullptr) {
        EXPECT_TRUE(d.prompter.messages.empty());
        EXPECT_EQ(d.dlg->result(), QDialog::Accepted);
      } else {
        ASSERT_EQ(d.prompter.messages.size(), 1u);
        EXPECT_EQ(d.prompter.messages[0], error(c.message));
        EXPECT_EQ(d.dlg->focusWidget(), child<QWidget>(*d.dlg, "LoVal_dlg"));
      }
    }
  }
  EXPECT_EQ(setup::linearItemText({"5.0000", "10.000"}), "Linear: 5.0000 / 10.000");
}

TEST(ScalePairDialogs, CancelAcceptsNothingAndTheNextOpeningStartsCleared) {
  for (bool linear : {true, false}) {
    PairDialog d(linear);
    type(*d.dlg, "LoVal_dlg", "1");
    type(*d.dlg, "HiVal_dlg", "2");
    click(*d.dlg, "CancelBtn");
    EXPECT_FALSE(d.dlg->isVisible());
    EXPECT_EQ(d.dlg->result(), QDialog::Rejected);
    EXPECT_EQ(asPair(d.accepted()), std::nullopt);
    d.prepare();
    EXPECT_EQ(text(*d.dlg, "LoVal_dlg"), "");
    EXPECT_EQ(text(*d.dlg, "HiVal_dlg"), "");
    EXPECT_TRUE(d.prompter.messages.empty());
  }
}

// ---------------------------------------------------------------- calculators

using Entries = std::map<const char*, const char*>;

std::unique_ptr<ui::CalculatorDialog> makeCalculator(const char* name, Prompter& prompter) {
  if (std::string(name) == "TCloop") return std::make_unique<ui::TCloop>(prompter);
  if (std::string(name) == "TLinTran") return std::make_unique<ui::TLinTran>(prompter);
  return std::make_unique<ui::TAdjust1>("Linear: 0.0000 / 100.00", prompter);
}

TEST(Calculators, CaptionsDefaultsAndResultsOfTheCreation) {
  struct Case {
    const char* dialog;
    const char* caption;
    const char* calculate;
    Entries defaults;
    const char* firstField;
    const char* low;
    const char* high;
  };
  const Case cases[] = {
      {"TCloop", "Echelle Boucle mA   ", "Calculer ",
       {{"LoMaField", "4"}, {"HiMaField", "20"}, {"OhmsField", "249"}, {"ZeroField", "0"}, {"FSField", "100"}},
       "LoMaField", "-25.00", "100.50"},
      {"TLinTran", "Echelle capteur linéaire ", "Calculer ",
       {{"LoMaField", "0"}, {"HiMaField", "5"}, {"ZeroField", "0"}, {"FSField", "100"}},
       "LoMaField", " 0.000", "100.00"},
      {"TAdjust1", "Calibration Echelle  ", "Calculate",
       {{"OldLoValField", "0.0000"}, {"OldHiValField", "100.00"}, {"LoLoggerField", ""}, {"LoTrueField", ""},
        {"HiLoggerField", ""}, {"HiTrueField", ""}},
       "OldLoValField", "", ""},
  };
  for (const Case& c : cases) {
    ScriptedPrompter prompter;
    auto dlg = makeCalculator(c.dialog, prompter);
    dlg->show();
    EXPECT_EQ(dlg->windowTitle(), QString::fromUtf8(c.caption));
    EXPECT_EQ(child<QPushButton>(*dlg, "CalcBtn")->text(), c.calculate);
    for (const auto& [field, value] : c.defaults) EXPECT_EQ(text(*dlg, field), value) << c.dialog << " " << field;
    EXPECT_EQ(dlg->focusWidget(), child<QWidget>(*dlg, c.firstField)) << c.dialog;
    EXPECT_EQ(text(*dlg, "LoValField"), c.low) << c.dialog;
    EXPECT_EQ(text(*dlg, "HiValField"), c.high) << c.dialog;
    EXPECT_TRUE(child<QLineEdit>(*dlg, "LoValField")->isReadOnly());
    EXPECT_TRUE(prompter.messages.empty());
  }
}

TEST(Calculators, CalculateAndOkShowTheMessagesKeepTheResultsAndStayOpen) {
  struct Case {
    const char* dialog;
    Entries entries;
    const char* button;
    std::vector<std::string_view> messages;
    const char* low;  // the results afterwards
    const char* high;
    bool closed;
  };
  const Entries calibration = {{"LoLoggerField", "10"}, {"LoTrueField", "12"}, {"HiLoggerField", "90"},
                               {"HiTrueField", "88"}};
  const auto with = [](Entries e, const char* field, const char* value) {
    e[field] = value;
    return e;
  };
  const Case cases[] = {
      {"TCloop", {{"LoMaField", "0"}}, "CalcBtn", {}, " 0.000", "100.40", false},
      {"TCloop", {{"LoMaField", "21"}}, "OKBtn", {setup::kLoMilliampsGreaterText}, "-25.00", "100.50", false},
      {"TCloop", {{"HiMaField", "4"}}, "CalcBtn", {setup::kSameMilliampsText}, "-25.00", "100.50", false},
      {"TCloop", {{"FSField", "0"}}, "OKBtn", {setup::kSameReadingText}, "-25.00", "100.50", false},
      {"TCloop", {{"OhmsField", ""}}, "OKBtn", {}, "-25.00", "100.50", false},
      {"TCloop", {{"ZeroField", "-50"}}, "OKBtn", {}, "-87.50", "100.75", true},
      {"TLinTran", {{"LoMaField", "6"}}, "OKBtn", {setup::kMinVoltsGreaterText}, " 0.000", "100.00", false},
      {"TLinTran", {{"HiMaField", "0"}}, "CalcBtn", {setup::kSameVoltsText}, " 0.000", "100.00", false},
      {"TLinTran", {{"FSField", "0"}}, "CalcBtn", {setup::kSameReadingText}, " 0.000", "100.00", false},
      {"TLinTran", {{"LoMaField", "1"}, {"FSField", "80"}}, "OKBtn", {}, "-20.00", "80.000", true},
      {"TAdjust1", calibration, "CalcBtn", {}, " 2.500", "97.500", false},
      {"TAdjust1", calibration, "OKBtn", {}, " 2.500", "97.500", true},
      {"TAdjust1", with(calibration, "LoLoggerField", "95"), "OKBtn", {setup::kLowLoggerHigherText}, "", "", false},
      {"TAdjust1", with(with(calibration, "LoLoggerField", "95"), "LoTrueField", "99"), "CalcBtn",
       {setup::kLowLoggerHigherText, setup::kLowTrueHigherText}, "", "", false},
      {"TAdjust1", with(calibration, "LoLoggerField", "90"), "OKBtn", {setup::kSameLoggerText}, "", "", false},
      {"TAdjust1", with(calibration, "LoTrueField", "88"), "OKBtn", {setup::kSameTrueText}, "", "", false},
      {"TAdjust1", with(calibration, "HiTrueField", ""), "OKBtn", {}, "", "", false},
  };
  for (const Case& c : cases) {
    ScriptedPrompter prompter;
    auto dlg = makeCalculator(c.dialog, prompter);
    dlg->show();
    for (const auto& [field, value] : c.entries) type(*dlg, field, value);
    click(*dlg, c.button);
    std::vector<Message> expected;
    for (std::string_view m : c.messages) expected.push_back(error(m));
    EXPECT_EQ(prompter.messages, expected) << c.dialog << " " << c.button;
    EXPECT_EQ(text(*dlg, "LoValField"), c.low) << c.dialog;
    EXPECT_EQ(text(*dlg, "HiValField"), c.high) << c.dialog;
    EXPECT_EQ(dlg->isVisible(), !c.closed) << c.dialog;
    if (c.closed) {
      EXPECT_EQ(asPair(dlg->results()), (std::pair<std::string, std::string>{c.low, c.high}));
    }
  }
}

TEST(Calculators, OldScaleOfTheCalibrationComesFromTheLinearItem) {
  struct Case {
    const char* item;
    const char* low;
    const char* high;
  };
  const Case cases[] = {{"Linear: -5.000 / 12.500", "-5.000", "12.500"},
                        {"Linear:  0.000 / 100.00", "0.000", "100.00"},
                        {"Linear", "", ""}};
  for (const Case& c : cases) {
    ScriptedPrompter prompter;
    ui::TAdjust1 dlg(c.item, prompter);
    EXPECT_EQ(text(dlg, "OldLoValField"), c.low) << c.item;
    EXPECT_EQ(text(dlg, "OldHiValField"), c.high) << c.item;
  }
}

TEST(Calculators, EntriesAcceptNumbersWithThreeDecimalsAtMost) {
  ScriptedPrompter prompter;
  ui::TCloop dlg(prompter);
  const QValidator* v = child<QLineEdit>(dlg, "LoMaField")->validator();
  ASSERT_NE(v, nullptr);
  struct Case {
    const char* entry;
    bool accepted;
  };
  const Case cases[] = {{"4", true}, {"-12,5", true}, {" 3.125 ", true}, {"3.1254", false}, {"4mA", false}};
  for (const Case& c : cases) {
    QString s = c.entry;
    int pos = 0;
    EXPECT_EQ(v->validate(s, pos) == QValidator::Acceptable, c.accepted) << c.entry;
  }
  EXPECT_EQ(child<QLineEdit>(dlg, "LoMaField")->maxLength(), 10);
}

// Runs `inside` on the dialog the click opens, once it is up.
void whenModalOpens(const std::function<void(QWidget&)>& inside) {
  QTimer::singleShot(0, [inside] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) {
      ADD_FAILURE() << "no dialog opened";
      return;
    }
    inside(*modal);
  });
}

TEST(LinscaleDlg, EachCalculatorFillsTheFieldsOnOkAndLeavesThemOnCancel) {
  struct Case {
    const char* button;
    const char* calculator;
    Entries entries;
    const char* closeWith;
    const char* low;
    const char* high;
  };
  const Case cases[] = {
      {"CLBtn", "TCloop", {}, "OKBtn", "-25.00", "100.50"},
      {"CLBtn", "TCloop", {}, "CancelBtn", "1", "2"},
      {"LTBtn", "TLinTran", {}, "OKBtn", " 0.000", "100.00"},
      {"LTBtn", "TLinTran", {{"FSField", "50"}}, "OKBtn", " 0.000", "50.000"},
      {"AdjustBtn", "TAdjust1",
       {{"LoLoggerField", "10"}, {"LoTrueField", "12"}, {"HiLoggerField", "90"}, {"HiTrueField", "88"}}, "OKBtn",
       " 2.500", "97.500"},
      {"AdjustBtn", "TAdjust1", {}, "CancelBtn", "1", "2"},
  };
  for (const Case& c : cases) {
    ScriptedPrompter prompter;
    ui::TLinscaleDlg dlg(prompter);
    dlg.prepare("Linear: 0.0000 / 100.00");
    dlg.show();
    type(dlg, "LoVal_dlg", "1");
    type(dlg, "HiVal_dlg", "2");
    bool opened = false;
    whenModalOpens([&](QWidget& calculator) {
      opened = true;
      EXPECT_EQ(calculator.objectName(), c.calculator);
      if (std::string(c.calculator) == "TAdjust1") {
        EXPECT_EQ(text(calculator, "OldHiValField"), "100.00");
      }
      for (const auto& [field, value] : c.entries) type(calculator, field, value);
      click(calculator, c.closeWith);
    });
    click(dlg, c.button);
    EXPECT_TRUE(opened) << c.button;
    EXPECT_EQ(text(dlg, "LoVal_dlg"), c.low) << c.button;
    EXPECT_EQ(text(dlg, "HiVal_dlg"), c.high) << c.button;
    EXPECT_TRUE(dlg.isVisible());
    click(dlg, "OKBtn");
    EXPECT_EQ(asPair(dlg.accepted()), (std::pair{setup::sixCharacterNumber(c.low), setup::sixCharacterNumber(c.high)}));
    EXPECT_TRUE(prompter.messages.empty()) << c.button;
  }
}

}  // namespace
}  // namespace brevik::testing
