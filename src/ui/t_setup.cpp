#include "ui/t_setup.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "setup/setup_items.h"
#include "setup/status_setup_view.h"
#include "ui/file_paths.h"
#include "ui/text.h"

namespace brevik::ui {

namespace {

constexpr int kDescriptionLength = 24;
constexpr int kSessionLength = 31;

std::size_t slot(int channel) { return static_cast<std::size_t>(channel - 1); }

QLabel* label(const QString& text, const QString& name, QWidget* parent) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(name);
  return l;
}

QPushButton* button(const QString& text, const QString& name, QWidget* parent) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}

QComboBox* box(const QString& name, QWidget* parent) {
  auto* b = new QComboBox(parent);
  b->setObjectName(name);
  b->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  return b;
}

// The box shows the model's items, selection and state; no signal goes out.
void showBox(QComboBox* widget, const setup::BoxState& state) {
  const QSignalBlocker quiet(widget);
  QStringList items;
  for (const std::string& item : state.items) items << fromCp(item);
  bool same = widget->count() == items.size();
  for (int i = 0; same && i < items.size(); ++i) same = widget->itemText(i) == items[i];
  if (!same) {
    widget->clear();
    widget->addItems(items);
  }
  widget->setCurrentIndex(state.index);
  widget->setEnabled(state.enabled);
  widget->setVisible(state.visible);
}

void showEdit(QLineEdit* edit, const std::string& text) {
  const QString shown = fromCp(text);
  if (edit->text() == shown) return;
  const QSignalBlocker quiet(edit);
  edit->setText(shown);
}

}  // namespace

TSetup::TSetup(program::DesktopSession& session, FileDialogs fileDialogs, SetupDialogs dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window),
      session_(session),
      fileDialogs_(std::move(fileDialogs)),
      dialogs_(std::move(dialogs)) {
  if (!fileDialogs_) fileDialogs_ = nativeFileDialogs(this);
  setObjectName("TSetup");
  setWindowTitle("Kaldo confiruration");
  build();
  connectEdits();
  setTabOrderOfControls();
  form().applyFirmwareTexts(session_.program().settings().LastRevision);
  showForm();
}

void TSetup::build() {
  phoneLabel_ = label("Phone", "PhoneLabel", this);
  phoneBox_ = new QLineEdit(this);
  phoneBox_->setObjectName("PhoneBox");
  phoneBox_->setReadOnly(true);
  phoneBox_->installEventFilter(this);

  stationBevel_ = new QFrame(this);
  stationBevel_->setObjectName("StationBevel");
  stationBevel_->setFrameShape(QFrame::StyledPanel);
  station_ = new QSpinBox(stationBevel_);
  station_->setObjectName("NetFieldSetup");
  station_->setRange(0, 255);
  auto* stationRow = new QHBoxLayout(stationBevel_);
  stationRow->setContentsMargins(4, 2, 4, 2);
  stationRow->addWidget(label("Station", "StationLabel", stationBevel_));
  stationRow->addWidget(station_);

  send_ = button("Send", "SENDBtn", this);
  exit_ = button("E&xit", "ExitBtn", this);
  helpButton_ = button("&Help", "HelpButton", this);

  auto* top = new QHBoxLayout;
  top->addWidget(phoneLabel_);
  top->addWidget(phoneBox_);
  top->addWidget(stationBevel_);
  top->addStretch();
  top->addWidget(send_);
  top->addWidget(exit_);
  top->addWidget(helpButton_);

  fileName_ = label("", "FileNameLabel", this);
  fileName_->setFrameShape(QFrame::Panel);
  fileName_->setFrameShadow(QFrame::Sunken);
  fileName_->setMinimumWidth(160);
  fileName_->setCursor(Qt::PointingHandCursor);
  fileName_->installEventFilter(this);
  modified_ = label("Modified", "ModifiedLabel", this);
  idEdit_ = new QLineEdit(this);
  idEdit_->setObjectName("IDedit");
  idEdit_->setMaxLength(kSessionLength);

  auto* names = new QGridLayout;
  names->addWidget(label("Nom config", "NomConfigLabel", this), 0, 0);
  names->addWidget(fileName_, 1, 0);
  names->addWidget(modified_, 1, 1);
  names->addWidget(label("Session Description", "SessionLabel", this), 0, 2);
  names->addWidget(idEdit_, 1, 2);
  names->setColumnStretch(2, 1);

  auto* grid = new QGridLayout;
  grid->addWidget(label("Canal  ", "CanalHead", this), 0, 0, 1, 2);
  grid->addWidget(label("Echelle", "EchelleHead", this), 0, 2);
  grid->addWidget(label("(Table)", "TableHead", this), 1, 2);
  grid->addWidget(label("Type", "TypeHead", this), 0, 3);
  grid->addWidget(label("Description", "DescriptionHead", this), 0, 4);
  for (int ch = 1; ch <= setup::kChannelCount; ++ch) {
    ChannelRow& row = rows_[slot(ch)];
    const int r = ch + 1;
    grid->addWidget(label(QString::number(ch), QString("ChannelLabel%1").arg(ch), this), r, 0);
    row.onOff = button("ON", QString("onoffbtn%1").arg(ch), this);
    row.scaling = box(QString("ScalingBox%1").arg(ch), this);
    row.input = box(QString("InpBox%1").arg(ch), this);
    row.description = new QLineEdit(this);
    row.description->setObjectName(QString("Ch%1Edit").arg(ch));
    row.description->setMaxLength(kDescriptionLength);
    grid->addWidget(row.onOff, r, 1);
    grid->addWidget(row.scaling, r, 2);
    grid->addWidget(row.input, r, 3);
    grid->addWidget(row.description, r, 4);
  }
  grid->setColumnStretch(4, 1);

  startBox_ = box("StartBox", this);
  runBox_ = box("RunBox", this);
  rateBox_ = box("RateBox", this);
  resLabel_ = label(fromCp("Résolution"_cp), "ResLabel", this);
  resBox_ = box("ResBox", this);
  duration_ = label("", "TTimeLabelBox", this);
  duration_->setFrameShape(QFrame::Panel);
  duration_->setFrameShadow(QFrame::Sunken);
  modelBox_ = box("ModelBox", this);

  auto* modes = new QGridLayout;
  modes->addWidget(label(fromCp("Début"_cp), "DebutLabel", this), 0, 0);
  modes->addWidget(startBox_, 1, 0);
  modes->addWidget(label("Fin", "FinLabel", this), 0, 1);
  modes->addWidget(runBox_, 1, 1);
  modes->addWidget(label(fromCp("Fréq.Echant"_cp), "FreqLabel", this), 2, 0);
  modes->addWidget(rateBox_, 3, 0);
  modes->addWidget(resLabel_, 2, 1);
  modes->addWidget(resBox_, 3, 1);
  modes->addWidget(label(fromCp("Durée totale: "_cp), "DureeLabel", this), 4, 0);
  modes->addWidget(duration_, 5, 0);
  modes->addWidget(label("Model", "ModelLabel", this), 4, 1);
  modes->addWidget(modelBox_, 5, 1);

  auto* charg = new QGroupBox("Charg", this);
  charg->setObjectName("ChargGroup");
  load_ = button("&Fichi  ", "LoadBtn", charg);
  loadStatus_ = button("E&tat  ", "LoadStatBtn", charg);
  auto* chargRow = new QHBoxLayout(charg);
  chargRow->addWidget(load_);
  chargRow->addWidget(loadStatus_);
  save_ = button("Sauve&Sous ", "SaveBtn", this);
  auto* files = new QVBoxLayout;
  files->addWidget(charg);
  files->addWidget(save_);
  files->addStretch();

  auto* bottom = new QHBoxLayout;
  bottom->addLayout(modes);
  bottom->addStretch();
  bottom->addLayout(files);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(names);
  layout->addLayout(grid);
  layout->addLayout(bottom);
  layout->addStretch();
}

void TSetup::connectEdits() {
  connect(send_, &QPushButton::clicked, this, &TSetup::SENDBtnClick);
  connect(exit_, &QPushButton::clicked, this, &TSetup::ExitBtnClick);
  connect(helpButton_, &QPushButton::clicked, this, &TSetup::HelpButtonClick);
  connect(load_, &QPushButton::clicked, this, &TSetup::LoadBtnClick);
  connect(loadStatus_, &QPushButton::clicked, this, &TSetup::LoadStatBtnClick);
  connect(save_, &QPushButton::clicked, this, &TSetup::SaveBtnClick);

  connect(idEdit_, &QLineEdit::textEdited, this, [this](const QString& text) {
    form().setSessionDescription(toCp(text));
    edited();
  });
  for (int ch = 1; ch <= setup::kChannelCount; ++ch) {
    ChannelRow& row = rows_[slot(ch)];
    connect(row.onOff, &QPushButton::clicked, this, [this, ch] {
      form().toggleChannel(ch);
      edited();
    });
    connect(row.scaling, &QComboBox::currentIndexChanged, this, [this, ch](int index) { scalingChanged(ch, index); });
    connect(row.input, &QComboBox::currentIndexChanged, this, [this, ch](int index) {
      form().selectInput(ch, index);
      edited();
    });
    connect(row.description, &QLineEdit::textEdited, this, [this, ch](const QString& text) {
      form().setChannelDescription(ch, toCp(text));
      edited();
    });
  }
  connect(startBox_, &QComboBox::currentIndexChanged, this, &TSetup::startChanged);
  connect(runBox_, &QComboBox::currentIndexChanged, this, [this](int index) {
    form().selectStop(index);
    edited();
  });
  connect(rateBox_, &QComboBox::currentIndexChanged, this, [this](int index) {
    form().selectRate(index);
    edited();
  });
  connect(resBox_, &QComboBox::currentIndexChanged, this, [this](int index) {
    form().selectResolution(index, document().current);
    edited();
  });
  connect(modelBox_, &QComboBox::currentIndexChanged, this, [this](int index) {
    form().selectModel(index, document().current);
    edited();
  });
  connect(station_, &QSpinBox::valueChanged, this, [this](int value) {
    form().setStationAddress(value);
    session_.stationFieldChanged(value);
  });
}

// Down the form as it reads: the names, the channel rows, the modes, the
// files, then the buttons of the top row.
void TSetup::setTabOrderOfControls() {
  std::vector<QWidget*> chain{idEdit_};
  for (const ChannelRow& row : rows_) {
    chain.push_back(row.onOff);
    chain.push_back(row.scaling);
    chain.push_back(row.input);
    chain.push_back(row.description);
  }
  for (QWidget* w : std::initializer_list<QWidget*>{startBox_, runBox_, rateBox_, resBox_, modelBox_, load_,
                                                    loadStatus_, save_, send_, exit_, helpButton_, station_})
    chain.push_back(w);
  for (std::size_t i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);
}

void TSetup::loadStartupSetup() {
  // An unattended send reads and reports its own file; nothing else of an
  // unattended run needs the setup.
  if (session_.unattended()) return;
  settings::LoggerSettings& settings = session_.program().settings();
  const setup::SetupDocument::Startup out =
      document().loadAtStartup(settings.SetupFileName, session_.program().home(), session_.program().clock());
  settings.SetupFileName = out.setupFileName;
  if (out.notFound) showMessage(MessageKind::Information, *out.notFound + " loading default.");
  showForm();
}

void TSetup::open(bool labelsOnly) {
  program::Program& program = session_.program();
  const settings::LoggerSettings& settings = program.settings();
  setWindowTitle(labelsOnly ? kScalingLabelsCaption : kNewSetupCaption);
  setup::SetupModel& f = form();
  f.applyFirmwareTexts(settings.LastRevision);
  if (f.fileNameLabel == setup::kLastStatusLabel && session_.lastStatus()) {
    f.populateFromStatus(setup::statusSetupView(*session_.lastStatus()));
  } else {
    f.populateFromRecord(document().current, program.clock());
  }
  f.prepare({labelsOnly, settings.NetworkMode != 0, settings.StationAddress, settings.LastModelCode,
             settings.LastRevision},
            document().current);
  showForm();
  showMaximized();
  raise();
  activateWindow();
}

void TSetup::showForm() {
  const setup::SetupModel& f = form();
  const settings::LoggerSettings& settings = session_.program().settings();
  const bool modem = settings.UseModem != 0;
  phoneLabel_->setVisible(modem);
  phoneBox_->setVisible(modem);
  showPhoneBox();
  stationBevel_->setVisible(f.stationVisible);
  {
    const QSignalBlocker quiet(station_);
    station_->setValue(f.stationAddress);
  }
  fileName_->setText(fromCp(f.fileNameLabel));
  modified_->setVisible(f.modifiedLabelVisible);
  showEdit(idEdit_, f.sessionDescription);
  for (int ch = 1; ch <= setup::kChannelCount; ++ch) {
    ChannelRow& row = rows_[slot(ch)];
    row.onOff->setText(fromCp(f.onOffCaptions[slot(ch)]));
    row.onOff->setEnabled(f.onOffEnabled);
    showBox(row.scaling, f.scalingBoxes[slot(ch)]);
    showBox(row.input, f.inputBoxes[slot(ch)]);
    showEdit(row.description, f.channelDescriptions[slot(ch)]);
  }
  showBox(startBox_, f.startBox);
  showBox(runBox_, f.runBox);
  showBox(rateBox_, f.rateBox);
  showBox(resBox_, f.resolutionBox);
  resLabel_->setVisible(f.resolutionBox.visible);
  showBox(modelBox_, f.modelBox);
  duration_->setText(fromCp(f.durationText));
}

void TSetup::edited() { showForm(); }

void TSetup::scalingChanged(int channel, int index) {
  setup::SetupModel& f = form();
  const setup::ScalingAction action = f.selectScaling(channel, index);
  const auto& items = f.scalingBoxes[slot(channel)].items;
  switch (action) {
    case setup::ScalingAction::None: break;
    case setup::ScalingAction::LinearDialog: {
      const auto pair = dialogs_.linearScale ? dialogs_.linearScale(channel, items[setup::kScaleItemLinear])
                                             : std::nullopt;
      if (pair) f.linearAccepted(*pair);
      else f.scalingDialogCancelled();
      break;
    }
    case setup::ScalingAction::ContactDialog: {
      const auto pair = dialogs_.contactScale ? dialogs_.contactScale(channel, items[setup::kScaleItemContact])
                                              : std::nullopt;
      if (pair) f.contactAccepted(*pair);
      else f.scalingDialogCancelled();
      break;
    }
    case setup::ScalingAction::TableChooser: {
      const auto name = dialogs_.tableChooser ? dialogs_.tableChooser(channel) : std::nullopt;
      if (name) f.tableChosen(*name);
      else f.scalingDialogCancelled();
      break;
    }
  }
  showForm();
}

void TSetup::startChanged(int index) {
  setup::SetupModel& f = form();
  setup::LoggerConfiguration& config = document().current;
  switch (f.selectStart(index)) {
    case setup::StartAction::None: break;
    case setup::StartAction::PresetDialog: {
      auto text = dialogs_.presetStart ? dialogs_.presetStart(config) : std::nullopt;
      if (text) f.presetStartChosen(std::move(*text));
      else f.dateDialogCancelled(config);
      break;
    }
    case setup::StartAction::DialOutDialog: {
      auto text = dialogs_.dialOut ? dialogs_.dialOut(config) : std::nullopt;
      if (text) f.dialOutChosen(std::move(*text));
      else f.dateDialogCancelled(config);
      break;
    }
  }
  showForm();
}

void TSetup::showMessage(MessageKind kind, std::string_view text) {
  session_.prompter().ask(Message{kind, std::string(text), Buttons::Ok, 0});
}

void TSetup::SENDBtnClick() {
  if (!session_.passSetupSendGuard()) return;
  session_.sendSetup();
  showForm();
}

bool TSetup::mayLeave() {
  if (!form().modified()) return true;
  const Answer answer = session_.prompter().ask(
      Message{MessageKind::Confirmation, std::string(kSaveChangesQuestion), Buttons::YesNoCancel, 0});
  switch (answer) {
    case Answer::Yes:
      saveAs();
      return false;
    case Answer::No:
      document().discardChanges();
      showForm();
      return true;
    default:
      return false;
  }
}

void TSetup::leave() {
  leaving_ = true;
  close();
  leaving_ = false;
}

void TSetup::ExitBtnClick() {
  if (mayLeave()) leave();
}

void TSetup::closeEvent(QCloseEvent* event) {
  // The title bar's close asks as Exit does; Exit has asked already.
  if (!leaving_ && !mayLeave()) {
    event->ignore();
    return;
  }
  event->accept();
  QWidget::closeEvent(event);
  if (closed_) closed_();
}

void TSetup::HelpButtonClick() {
  if (help_) help_(form().labelsOnly() ? kScalingLabelsHelpTopic : kSetupHelpTopic);
}

void TSetup::LoadBtnClick() {
  const program::Program& program = session_.program();
  FileDialogRequest request;
  request.objectName = "OpenDialogSetup";
  request.title = "Select Setup";
  request.directory = qPathOf(program.home());
  request.filter = qtFilterOf(kSetupFilter);
  request.defaultSuffix = "SET";
  const std::optional<QString> chosen = fileDialogs_ ? fileDialogs_(request) : std::nullopt;
  if (!chosen) return;
  const std::filesystem::path path = pathOf(*chosen);
  const auto loaded = document().load(path, program.clock());
  if (loaded && loaded->becameSetupFile) session_.program().settings().SetupFileName = toCp(*chosen);
  if (!loaded) showMessage(MessageKind::Error, loaded.error().message);
  showForm();
}

bool TSetup::saveAs() {
  FileDialogRequest request;
  request.objectName = "SaveSetupDialog";
  request.title = "Save Setup As";
  request.directory = qPathOf(session_.program().home());
  request.filter = qtFilterOf(kSaveSetupFilter);
  request.defaultSuffix = "SET";
  request.save = true;
  const std::optional<QString> chosen = fileDialogs_ ? fileDialogs_(request) : std::nullopt;
  if (!chosen) return false;
  const Status saved = document().saveAs(pathOf(*chosen));
  if (!saved) {
    const bool refused = saved.error().kind == ErrorKind::Usage;
    showMessage(refused ? MessageKind::Warning : MessageKind::Error, saved.error().message);
    showForm();
    return false;
  }
  session_.program().settings().SetupFileName = toCp(*chosen);
  showForm();
  return true;
}

void TSetup::SaveBtnClick() { saveAs(); }

void TSetup::LoadStatBtnClick() {
  if (!session_.statusAvailable() || !session_.lastStatus()) {
    showMessage(MessageKind::Information, kNoStatusToLoadText);
    return;
  }
  form().populateFromStatus(setup::statusSetupView(*session_.lastStatus()));
  showForm();
}

void TSetup::showPhoneBox() { phoneBox_->setText(fromCp(session_.phoneBoxText())); }

bool TSetup::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    if (watched == fileName_) {
      LoadBtnClick();
      return true;
    }
    if (watched == phoneBox_ && phoneBox_->isEnabled()) {
      session_.openPhoneList();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace brevik::ui
