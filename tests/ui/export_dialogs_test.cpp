// The export dialogs of the graph window: the text export (its save dialog,
// extension rule, stored options and the export it runs), the export choice
// and the picture export choice.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "export/data_export.h"
#include "scripted_file_dialogs.h"
#include "support/loaded_file_fixtures.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"
#include "ui/file_paths.h"
#include "ui/t_ascii_dlg.h"
#include "ui/t_exp_dialog.h"
#include "ui/t_graphic_export_dlg.h"
#include "ui/text.h"

namespace brevik::testing {
namespace {

template <typename W>
W* child(QWidget& parent, const QString& name) {
  W* w = parent.findChild<W*>(name);
  if (w == nullptr) throw std::runtime_error("no control " + name.toStdString());
  return w;
}

std::vector<std::uint16_t> ramp(std::uint16_t n) {
  std::vector<std::uint16_t> v;
  for (std::uint16_t i = 1; i <= n; ++i) v.push_back(i);
  return v;
}

struct AsciiDialog {
  TempDir home;
  settings::LoggerSettings settings;
  ScriptedPrompter prompter;
  ScriptedFileDialogs files;
  datafile::LoadedFile file = fixtures::linearState({ramp(25)});
  std::unique_ptr<ui::TAsciiDlg> dlg;

  explicit AsciiDialog(const std::function<void(settings::LoggerSettings&)>& stored = {}) {
    if (stored) stored(settings);
    dlg = std::make_unique<ui::TAsciiDlg>(home.path(), settings, prompter, files.port, file);
    dlg->show();
  }
  template <typename W>
  W* get(const char* name) {
    return child<W>(*dlg, name);
  }
  void click(const char* name) { get<QAbstractButton>(name)->click(); }
  void clickEdit1() { QTest::mouseClick(get<QLineEdit>("Edit1"), Qt::LeftButton); }
  // Chooses `name` in the home through the save dialog.
  void saveAs(const std::string& name) {
    files.answers.push_back(ui::qPathOf(home / name));
    clickEdit1();
  }
};

TEST(AsciiDlg, SaveDialogOfEachFormAndItsExtensionRule) {
  struct Case {
    bool csv;
    const char* chosen;
    const char* refusal;  // nullptr: the name goes into Edit1
  };
  const Case cases[] = {
      {true, "site1.CSV", nullptr},
      {true, "site1.csv", nullptr},
      {true, "site1.TXT", "File name must end in '.CSV'"},
      {true, "site1.dat", "File name must end in '.CSV'"},
      {false, "site1.TXT", nullptr},
      {false, "site1.CSV", "File name must end in '.TXT'"},
  };
  for (const Case& c : cases) {
    AsciiDialog d;
    EXPECT_TRUE(d.get<QRadioButton>("RG_Type_1")->isChecked());  // CSV by default
    if (!c.csv) d.click("RG_Type_0");
    d.saveAs(c.chosen);
    ASSERT_EQ(d.files.requests.size(), 1u);
    const ui::FileDialogRequest& r = d.files.requests[0];
    EXPECT_TRUE(r.save);
    EXPECT_EQ(r.directory, ui::qPathOf(d.home.path()));
    EXPECT_EQ(r.filter, c.csv ? "CSV File (*.CSV *.csv)" : "Text File (*.TXT *.txt)");
    EXPECT_EQ(r.defaultSuffix, c.csv ? "CSV" : "TXT");
    if (c.refusal == nullptr) {
      EXPECT_EQ(d.get<QLineEdit>("Edit1")->text(), ui::qPathOf(d.home / c.chosen));
      EXPECT_TRUE(d.prompter.messages.empty()) << c.chosen;
    } else {
      EXPECT_EQ(d.get<QLineEdit>("Edit1")->text(), "");
      ASSERT_EQ(d.prompter.messages.size(), 1u) << c.chosen;
      EXPECT_EQ(d.prompter.messages[0], (Message{MessageKind::Warning, c.refusal, Buttons::Ok, 0}));
    }
    EXPECT_TRUE(d.dlg->isVisible());
  }
}

TEST(AsciiDlg, StoredOptionsShowInTheControlsAndOkStoresThemBack) {
  struct Case {
    std::uint8_t noHeader;
    std::uint32_t averaging;
    const char* checked;
    const char* field;
    std::uint32_t storedAgain;
  };
  const Case cases[] = {
      {0, 1, "AllPoints", "", 1},   {1, 0, "AllPoints", "", 1},     {0, 9999, "OneAvg", "", 9999},
      {1, 10, "AvgNbr", "10", 10},  {0, 9998, "AvgNbr", "9998", 9998},
  };
  for (const Case& c : cases) {
    AsciiDialog d([&](settings::LoggerSettings& s) {
      s.ExportNoHeader = c.noHeader;
      s.ExportAveraging = c.averaging;
    });
    const bool groups = std::string(c.checked) == "AvgNbr";
    EXPECT_TRUE(d.get<QRadioButton>(c.checked)->isChecked()) << c.averaging;
    EXPECT_EQ(d.get<QLineEdit>("AscField")->text(), c.field);
    EXPECT_EQ(d.get<QLineEdit>("AscField")->isEnabled(), groups);
    EXPECT_EQ(d.get<QLabel>("AscFieldLabel")->isEnabled(), groups);
    EXPECT_EQ(d.get<QCheckBox>("NoHeader")->isChecked(), c.noHeader != 0);
    EXPECT_EQ(d.get<QLineEdit>("edit2")->isVisible(), c.noHeader == 0);
    EXPECT_EQ(d.get<QLabel>("edit2Label")->isVisible(), c.noHeader == 0);
    d.settings.ExportNoHeader = 7;
    d.settings.ExportAveraging = 7;
    d.saveAs("round.CSV");
    d.dlg->hide();
    d.dlg->show();  // each opening starts without a name
    EXPECT_EQ(d.get<QLineEdit>("Edit1")->text(), "");
    d.saveAs("round.CSV");
    d.click("OKBtn");
    EXPECT_EQ(d.settings.ExportNoHeader, c.noHeader);
    EXPECT_EQ(d.settings.ExportAveraging, c.storedAgain);
    EXPECT_FALSE(d.dlg->isVisible());
  }
}

TEST(AsciiDlg, OkWritesTheExportAndSaysSo) {
  struct Case {
    bool csv;
    const char* name;
    const char* averagingButton;
    const char* field;
    bool noHeader;
    std::uint32_t averaging;
  };
  const Case cases[] = {
      {true, "all.CSV", "AllPoints", "", false, 1},
      {true, "ten.CSV", "AvgNbr", "10", true, 10},
      {false, "one.TXT", "OneAvg", "", false, 9999},
  };
  for (const Case& c : cases) {
    AsciiDialog d;
    if (!c.csv) d.click("RG_Type_0");
    d.click(c.averagingButton);
    EXPECT_EQ(d.get<QLineEdit>("AscField")->isEnabled(), *c.field != '\0');
    d.get<QLineEdit>("AscField")->setText(c.field);
    if (c.noHeader) d.click("NoHeader");
    EXPECT_EQ(d.get<QLineEdit>("edit2")->isVisible(), !c.noHeader);
    d.get<QLineEdit>("edit2")->setText(QString::fromUtf8("pompe à chaleur"));
    d.saveAs(c.name);
    d.click("OKBtn");
    const std::string shownName = (d.home / c.name).string();
    EXPECT_EQ(d.prompter.messages, (std::vector<Message>{{MessageKind::Information, shownName + " saved to disk"}}));
    EXPECT_FALSE(d.dlg->isVisible());
    EXPECT_EQ(d.settings.ExportAveraging, c.averaging);
    EXPECT_EQ(d.settings.ExportNoHeader, c.noHeader ? 1u : 0u);

    // The same file as the engine writes with those choices.
    exporting::ExportOptions o;
    o.csv = c.csv;
    o.averaging = c.averaging;
    o.noHeader = c.noHeader;
    o.note = "pompe à chaleur"_cp;
    const std::string expected = std::string("expected-") + c.name;
    ASSERT_TRUE(exporting::exportLoadedFile(d.file, d.home / expected, o, d.home.path()).ok());
    const std::string written = d.home.read(c.name);
    EXPECT_FALSE(written.empty());
    EXPECT_EQ(written, d.home.read(expected)) << c.name;
    EXPECT_EQ(written.find("pompe"), c.noHeader ? std::string::npos : 1u) << c.name;
  }
}

TEST(AsciiDlg, RefusalsKeepTheDialogOpenAndWriteNothing) {
  struct Case {
    const char* name;   // typed into Edit1; a bare name goes to the home
    const char* count;  // AscField with AvgNbr checked; nullptr: every point
    bool noData;
    MessageKind kind;
    const char* text;  // nullptr: the engine's own message
  };
  const Case cases[] = {
      {"", nullptr, false, MessageKind::Information, "Please enter a file name in 'Save as'"},
      {"a.CSV", "1", false, MessageKind::Warning,
       "The number of points to average must be a whole number from 2 to 9998"},
      {"no-such-folder/b.CSV", nullptr, false, MessageKind::Error, nullptr},
      {"c.CSV", nullptr, true, MessageKind::Error, nullptr},
  };
  for (const Case& c : cases) {
    AsciiDialog d;
    if (c.noData) d.file = datafile::LoadedFile{};
    if (c.count != nullptr) {
      d.click("AvgNbr");
      d.get<QLineEdit>("AscField")->setText(c.count);
    }
    d.get<QLineEdit>("Edit1")->setText(c.name);
    d.click("OKBtn");
    ASSERT_EQ(d.prompter.messages.size(), 1u) << c.name;
    EXPECT_EQ(d.prompter.messages[0].kind, c.kind) << c.name;
    if (c.text != nullptr) {
      EXPECT_EQ(d.prompter.messages[0].text, c.text);
    }
    EXPECT_EQ(d.prompter.messages[0].text.find("saved to disk"), std::string::npos);
    EXPECT_TRUE(d.dlg->isVisible()) << c.name;
    EXPECT_EQ(d.settings.ExportAveraging, 1u);
    if (*c.name != '\0') {
      EXPECT_FALSE(std::filesystem::exists(d.home / c.name)) << c.name;
    }
  }
}

TEST(ExpDialog, OffersAsciiFirstAndReturnsTheChoice) {
  struct Case {
    const char* radio;  // nullptr: left as it opens
    const char* button;
    std::optional<ui::ExportKind> chosen;
  };
  const Case cases[] = {
      {nullptr, "OKBtn", ui::ExportKind::Ascii},
      {"TypeFichi_1", "OKBtn", ui::ExportKind::Graphic},
      {"TypeFichi_1", "CancelBtn", std::nullopt},
  };
  ui::TExpDialog dlg;
  EXPECT_EQ(dlg.windowTitle(), "Export");
  EXPECT_EQ(child<QWidget>(dlg, "TypeFichi")->property("title").toString(), "TypeFichi");
  EXPECT_EQ(child<QRadioButton>(dlg, "TypeFichi_0")->text(), "ASCII");
  EXPECT_EQ(child<QRadioButton>(dlg, "TypeFichi_1")->text(), "Graphic");
  for (const Case& c : cases) {
    QTimer::singleShot(0, &dlg, [&] {
      EXPECT_TRUE(child<QRadioButton>(dlg, "TypeFichi_0")->isChecked());  // each opening
      if (c.radio != nullptr) child<QRadioButton>(dlg, c.radio)->click();
      child<QPushButton>(dlg, c.button)->click();
    });
    EXPECT_EQ(dlg.choose(), c.chosen);
  }
}

TEST(GraphicExportDlg, ChoosesFormatSizeAndFile) {
  using ui::GraphicFormat;
  struct Case {
    const char* format;
    bool customSize;
    int width, height;  // typed into the boxes
    std::optional<QString> answer;  // of the save dialog
    const char* filter;
    std::optional<ui::GraphicExportChoice> chosen;  // the file relative to the home
  };
  const Case cases[] = {
      {"FormatPng", false, 0, 0, "g.png", "PNG image (*.png)",
       ui::GraphicExportChoice{GraphicFormat::Png, "g.png", 640, 452}},
      {"FormatJpeg", true, 1200, 800, "g.jpeg", "JPEG image (*.jpg *.jpeg)",
       ui::GraphicExportChoice{GraphicFormat::Jpeg, "g.jpeg", 1200, 800}},
      {"FormatPdf", false, 0, 0, "g", "PDF document (*.pdf)",
       ui::GraphicExportChoice{GraphicFormat::Pdf, "g.pdf", 640, 452}},
      {"FormatPng", false, 0, 0, "g.JPG", "PNG image (*.png)",
       ui::GraphicExportChoice{GraphicFormat::Png, "g.JPG.png", 640, 452}},
      {"FormatClipboard", true, 300, 200, std::nullopt, nullptr,
       ui::GraphicExportChoice{GraphicFormat::Clipboard, "", 300, 200}},
      {"FormatPdf", false, 0, 0, std::nullopt, "PDF document (*.pdf)", std::nullopt},  // save dialog cancelled
  };
  for (const Case& c : cases) {
    TempDir home;
    ScriptedFileDialogs files;
    ui::TGraphicExportDlg dlg(QSize(640, 452), home.path(), files.port);
    dlg.show();
    EXPECT_FALSE(child<QSpinBox>(dlg, "WidthBox")->isEnabled());
    child<QRadioButton>(dlg, c.format)->click();
    if (c.customSize) {
      child<QRadioButton>(dlg, "CustomSize")->click();
      EXPECT_TRUE(child<QSpinBox>(dlg, "WidthBox")->isEnabled());
      child<QSpinBox>(dlg, "WidthBox")->setValue(c.width);
      child<QSpinBox>(dlg, "HeightBox")->setValue(c.height);
    }
    if (c.answer) files.answers.push_back(ui::qPathOf(home / c.answer->toStdString()));
    child<QPushButton>(dlg, "OKBtn")->click();
    if (c.filter != nullptr) {
      ASSERT_EQ(files.requests.size(), 1u) << c.format;
      EXPECT_EQ(files.requests[0].filter, c.filter);
      EXPECT_TRUE(files.requests[0].save);
    } else {
      EXPECT_TRUE(files.requests.empty());
    }
    std::optional<ui::GraphicExportChoice> expected = c.chosen;
    if (expected && !expected->filePath.isEmpty())
      expected->filePath = ui::qPathOf(home / expected->filePath.toStdString());
    EXPECT_EQ(dlg.choice(), expected) << c.format;
    EXPECT_EQ(dlg.isVisible(), !expected.has_value());
  }
}

}  // namespace
}  // namespace brevik::testing
