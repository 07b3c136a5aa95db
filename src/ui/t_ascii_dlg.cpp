#include "ui/t_ascii_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "export/data_export.h"
#include "ui/dialog_buttons.h"
#include "ui/file_paths.h"
#include "ui/text.h"

namespace brevik::ui {

namespace ed = exporting::export_dialog;

TAsciiDlg::TAsciiDlg(const std::filesystem::path& home, settings::LoggerSettings& settings, Prompter& prompter,
                     FileDialogs& fileDialogs, datafile::LoadedFile& file, QWidget* parent)
    : QDialog(parent),
      home_(home),
      settings_(settings),
      prompter_(prompter),
      fileDialogs_(fileDialogs),
      file_(file) {
  setObjectName("TAsciiDlg");
  setWindowTitle(fromCp(ed::kCaption));
  setModal(true);

  auto* typeBox = new QGroupBox(this);
  typeBox->setObjectName(fromCp(ed::kTypeGroup));
  type_ = new QButtonGroup(typeBox);
  auto* typeLayout = new QVBoxLayout(typeBox);
  const QString forms[] = {fromCp(ed::kTextForm), fromCp(ed::kCsvForm)};
  for (int i = 0; i < 2; ++i) {
    auto* r = new QRadioButton(forms[i], typeBox);
    r->setObjectName(QString("RG_Type_%1").arg(i));
    type_->addButton(r, i);
    typeLayout->addWidget(r);
  }
  type_->button(1)->setChecked(true);

  auto* averaging = new QGroupBox(this);
  averaging->setObjectName("AveragingGroup");
  allPoints_ = new QRadioButton(fromCp(ed::kAllPoints), averaging);
  allPoints_->setObjectName("AllPoints");
  oneAvg_ = new QRadioButton(fromCp(ed::kOneAverage), averaging);
  oneAvg_->setObjectName("OneAvg");
  avgNbr_ = new QRadioButton(fromCp(ed::kAverageOf), averaging);
  avgNbr_->setObjectName("AvgNbr");
  ascField_ = new QLineEdit(averaging);
  ascField_->setObjectName("AscField");
  ascField_->setMaximumWidth(60);
  ascFieldLabel_ = new QLabel(fromCp(ed::kAverageUnit), averaging);
  ascFieldLabel_->setObjectName("AscFieldLabel");
  auto* averagingLayout = new QGridLayout(averaging);
  averagingLayout->addWidget(allPoints_, 0, 0, 1, 3);
  averagingLayout->addWidget(oneAvg_, 1, 0, 1, 3);
  averagingLayout->addWidget(avgNbr_, 2, 0);
  averagingLayout->addWidget(ascField_, 2, 1);
  averagingLayout->addWidget(ascFieldLabel_, 2, 2);
  for (QRadioButton* r : {allPoints_, oneAvg_, avgNbr_})
    connect(r, &QRadioButton::clicked, this, &TAsciiDlg::AveragingClick);

  noHeader_ = new QCheckBox(fromCp(ed::kNoHeader), this);
  noHeader_->setObjectName("NoHeader");
  connect(noHeader_, &QCheckBox::clicked, this, &TAsciiDlg::NoHeaderClick);

  auto* edit1Label = new QLabel(fromCp(ed::kSaveAsLabel), this);
  edit1Label->setObjectName("Edit1Label");
  edit1_ = new QLineEdit(this);
  edit1_->setObjectName("Edit1");
  edit1_->setMinimumWidth(280);
  edit1_->installEventFilter(this);
  edit2Label_ = new QLabel(fromCp(ed::kNoteLabel), this);
  edit2Label_->setObjectName("edit2Label");
  edit2_ = new QLineEdit(this);
  edit2_->setObjectName("edit2");

  const DialogButtons buttonRow = makeDialogButtons(*this, [this] {
    if (help_) help_();
  });
  connect(buttonRow.ok, &QPushButton::clicked, this, &TAsciiDlg::OKBtnClick);

  auto* names = new QGridLayout;
  names->addWidget(edit1Label, 0, 0);
  names->addWidget(edit1_, 0, 1);
  names->addWidget(edit2Label_, 1, 0);
  names->addWidget(edit2_, 1, 1);

  auto* left = new QVBoxLayout;
  left->addWidget(typeBox);
  left->addWidget(noHeader_);
  left->addStretch();
  auto* top = new QHBoxLayout;
  top->addLayout(left);
  top->addWidget(averaging);


  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(names);
  layout->addLayout(buttonRow.row);

  showStoredOptions();
}

void TAsciiDlg::showStoredOptions() {
  noHeader_->setChecked(settings_.ExportNoHeader != 0);
  const exporting::AveragingSelection shown = exporting::averagingSelectionOf(settings_.ExportAveraging);
  switch (shown.choice) {
    case exporting::AveragingChoice::AllPoints:
      allPoints_->setChecked(true);
      break;
    case exporting::AveragingChoice::OneAverage:
      oneAvg_->setChecked(true);
      break;
    case exporting::AveragingChoice::Groups:
      avgNbr_->setChecked(true);
      break;
  }
  if (shown.groupSize) ascField_->setText(QString::number(*shown.groupSize));
  AveragingClick();
  NoHeaderClick();
}

bool TAsciiDlg::csvForm() const { return type_->checkedId() == 1; }

exporting::AveragingChoice TAsciiDlg::averagingChoice() const {
  if (avgNbr_->isChecked()) return exporting::AveragingChoice::Groups;
  if (oneAvg_->isChecked()) return exporting::AveragingChoice::OneAverage;
  return exporting::AveragingChoice::AllPoints;
}

void TAsciiDlg::showEvent(QShowEvent* event) {
  edit1_->clear();
  QDialog::showEvent(event);
}

bool TAsciiDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit1_ && event->type() == QEvent::MouseButtonPress &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    Edit1Click();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TAsciiDlg::AveragingClick() {
  const bool groups = avgNbr_->isChecked();
  ascField_->setEnabled(groups);
  ascFieldLabel_->setEnabled(groups);
}

void TAsciiDlg::NoHeaderClick() {
  const bool note = !noHeader_->isChecked();
  edit2_->setVisible(note);
  edit2Label_->setVisible(note);
}

void TAsciiDlg::Edit1Click() {
  const bool csv = csvForm();
  FileDialogRequest request;
  request.objectName = "SaveDialog1";
  request.title = fromCp(ed::kSaveAsLabel);
  request.directory = qPathOf(home_);
  request.filter = qtFilterOf(exporting::exportFilter(csv));
  request.defaultSuffix = fromCp(exporting::exportExtension(csv));
  request.save = true;
  const std::optional<QString> chosen = fileDialogs_ ? fileDialogs_(request) : std::nullopt;
  if (!chosen) return;
  if (auto refusal = exporting::exportNameRefusal(pathOf(*chosen), csv)) {
    prompter_.ask(Message{MessageKind::Warning, *refusal, Buttons::Ok, 0});
    return;
  }
  edit1_->setText(*chosen);
}

std::filesystem::path TAsciiDlg::targetOf(const QString& name) const {
  const std::filesystem::path typed = pathOf(name);
  // A name typed without a folder goes to the program's home, where the
  // save dialog would have started.
  return typed.is_absolute() ? typed : home_ / typed;
}

void TAsciiDlg::OKBtnClick() {
  const QString name = edit1_->text().trimmed();
  if (name.isEmpty()) {
    prompter_.ask(Message{MessageKind::Information, std::string(ed::kEmptyNameText), Buttons::Ok, 0});
    return;
  }
  auto averaging = exporting::averagingOf(averagingChoice(), toCp(ascField_->text()));
  if (!averaging) {
    prompter_.ask(Message{MessageKind::Warning, averaging.error().message, Buttons::Ok, 0});
    ascField_->setFocus();
    return;
  }
  settings_.ExportNoHeader = noHeader_->isChecked() ? 1 : 0;
  settings_.ExportAveraging = *averaging;

  exporting::ExportOptions options;
  options.note = toCp(edit2_->text());
  options.csv = csvForm();
  options.averaging = *averaging;
  options.noHeader = noHeader_->isChecked();
  options.dayFirst = settings_.ExportDayFirst != 0;
  if (auto done = exporting::exportLoadedFile(file_, targetOf(name), options, home_); !done) {
    // The dialog stays open for another name or other choices.
    prompter_.ask(Message{MessageKind::Error, done.error().message, Buttons::Ok, 0});
    return;
  }
  prompter_.ask(Message{MessageKind::Information, exporting::savedToDiskText(toCp(name)), Buttons::Ok, 0});
  accept();
}

}  // namespace brevik::ui
