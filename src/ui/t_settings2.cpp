#include "ui/t_settings2.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/dialog_buttons.h"
#include "ui/text.h"

namespace brevik::ui {

QGroupBox* TSettings2::radioGroup(const QString& name, const QString& caption, const QStringList& items,
                                  QButtonGroup*& buttons, int columns) {
  auto* box = new QGroupBox(caption, this);
  box->setObjectName(name);
  buttons = new QButtonGroup(box);
  auto* grid = new QGridLayout(box);
  for (int i = 0; i < items.size(); ++i) {
    auto* r = new QRadioButton(items[i], box);
    r->setObjectName(QString("%1_%2").arg(name).arg(i));
    buttons->addButton(r, i);
    grid->addWidget(r, i / columns, i % columns);
  }
  return box;
}

TSettings2::TSettings2(settings::LoggerSettings& settings, Prompter& prompter, QWidget* parent)
    : QDialog(parent), settings_(settings), prompter_(prompter) {
  setObjectName("TSettings2");
  setWindowTitle("Settings");
  setModal(true);

  QStringList ports;
  for (int i = 1; i <= 10; ++i) ports << QString("COM%1").arg(i);
  auto* portGroup = radioGroup("PortGroup", "Port", ports, port_, 2);
  auto* baudGroup = radioGroup("BaudGroup", "Baud", {"1200", "2400", "4800", "9600", "19.2k"}, baud_, 1);
  auto* networkGroup = radioGroup("RG_Network", "", {"Appareil seul", QString::fromUtf8("Réseau ")}, network_, 1);
  auto* dateGroup = radioGroup("ExpDateFormatRG", "", {"mm/jj/aaaa (USA)", "jj/mm/aaaa"}, dateFormat_, 1);
  auto* timeGroup = radioGroup("TimeFormat", "", {"24 Hour", "Am/Pm"}, timeFormat_, 1);

  modem_ = new QCheckBox("AvecModem", this);
  modem_->setObjectName("CB_modem");
  autoAnswer_ = new QCheckBox("Auto Answer", this);
  autoAnswer_->setObjectName("AutoAnswerCheckBox");
  wireless_ = new QCheckBox("Wireless Comm", this);
  wireless_->setObjectName("CB_Wireless");
  mt7xx_ = new QCheckBox("KALDO Protocol", this);
  mt7xx_->setObjectName("CB_MT7xx");
  autoCsv_ = new QCheckBox("Auto Export Data", this);
  autoCsv_->setObjectName("AutocsvCheckBox");

  const DialogButtons buttonRow = makeDialogButtons(*this, [this] {
    if (help_) help_();
  });
  connect(buttonRow.ok, &QPushButton::clicked, this, &TSettings2::OKBtnClick);
  connect(autoCsv_, &QCheckBox::clicked, this, &TSettings2::AutocsvCheckBoxClick);
  connect(dateFormat_, &QButtonGroup::idClicked, this, &TSettings2::ExpDateFormatRGClick);
  connect(modem_, &QCheckBox::clicked, this, &TSettings2::CB_modemClick);
  connect(port_, &QButtonGroup::idClicked, this, &TSettings2::PortGroupClick);

  // Which device the chosen COM port is: serial adapters move between
  // /dev/ttyUSBn, and ports.ini may name them for good.
  portDevice_ = new QLabel(this);
  portDevice_->setObjectName("PortDeviceLabel");
  portDevice_->setWordWrap(true);
  portDevice_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* checks = new QVBoxLayout;
  checks->addWidget(networkGroup);
  checks->addWidget(modem_);
  checks->addWidget(autoAnswer_);
  checks->addWidget(wireless_);
  checks->addWidget(mt7xx_);
  checks->addWidget(autoCsv_);
  checks->addWidget(dateGroup);
  checks->addWidget(timeGroup);
  checks->addStretch();

  auto* top = new QHBoxLayout;
  top->addWidget(portGroup);
  top->addWidget(baudGroup);
  top->addLayout(checks);


  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(portDevice_);
  layout->addLayout(buttonRow.row);

  // FormCreate
  check(dateFormat_, settings_.ExportDayFirst != 0 ? 1 : 0);
}

int TSettings2::checkedIndex(const QButtonGroup* group) { return group->checkedId(); }

void TSettings2::check(QButtonGroup* group, int index) {
  QAbstractButton* b = group->button(index);
  if (b != nullptr) {
    b->setChecked(true);
    return;
  }
  // No item for this value (a rate above 19200): the group shows none.
  group->setExclusive(false);
  for (QAbstractButton* each : group->buttons()) each->setChecked(false);
  group->setExclusive(true);
}

void TSettings2::showFields() {
  const settings::SettingsDialogState s = settings::settingsDialogStateOf(settings_);
  check(port_, s.portIndex);
  shownBaudIndex_ = s.baudIndex;
  check(baud_, s.baudIndex < settings::kBaudGroupItems ? s.baudIndex : -1);
  check(network_, s.network ? 1 : 0);
  modem_->setChecked(s.modem);
  autoAnswer_->setChecked(s.autoAnswer);
  autoAnswer_->setVisible(s.modem);
  wireless_->setChecked(s.wireless);
  mt7xx_->setChecked(s.fastProtocol);
  autoCsv_->setChecked(s.autoExport);
  check(dateFormat_, s.dayFirst ? 1 : 0);
  check(timeFormat_, s.twelveHour ? 1 : 0);
  portDescriptions_ = describePorts_ ? describePorts_() : std::vector<std::string>();
  for (QAbstractButton* b : port_->buttons()) {
    const auto i = static_cast<std::size_t>(port_->id(b));
    b->setToolTip(i < portDescriptions_.size() ? fromCp(portDescriptions_[i]) : QString());
  }
  PortGroupClick();
}

void TSettings2::showEvent(QShowEvent* event) {
  showFields();
  QDialog::showEvent(event);
}

settings::SettingsDialogState TSettings2::controlState() const {
  settings::SettingsDialogState s;
  s.portIndex = std::max(0, checkedIndex(port_));
  const int baud = checkedIndex(baud_);
  s.baudIndex = baud >= 0 ? baud : shownBaudIndex_;
  s.network = checkedIndex(network_) == 1;
  s.modem = modem_->isChecked();
  s.autoAnswer = autoAnswer_->isChecked();
  s.wireless = wireless_->isChecked();
  s.fastProtocol = mt7xx_->isChecked();
  s.autoExport = autoCsv_->isChecked();
  s.dayFirst = checkedIndex(dateFormat_) == 1;
  s.twelveHour = checkedIndex(timeFormat_) == 1;
  return s;
}

void TSettings2::OKBtnClick() {
  const settings::SettingsDialogOutcome out = settings::applySettingsDialog(controlState(), settings_);
  if (!out.accepted) {
    prompter_.ask(Message{MessageKind::Information, out.refusal.value_or(""), Buttons::Ok, 0});
    return;
  }
  accept();
  if (accepted_) accepted_(out);
}

void TSettings2::AutocsvCheckBoxClick() { settings::applyAutoExportClick(autoCsv_->isChecked(), settings_); }

void TSettings2::ExpDateFormatRGClick() { settings::applyDateFormatClick(checkedIndex(dateFormat_) == 1, settings_); }

void TSettings2::PortGroupClick() {
  const int i = checkedIndex(port_);
  const bool described = i >= 0 && static_cast<std::size_t>(i) < portDescriptions_.size();
  portDevice_->setText(described ? QString("COM%1: %2").arg(i + 1).arg(fromCp(portDescriptions_[i])) : QString());
  portDevice_->setVisible(described);
}

void TSettings2::CB_modemClick() { autoAnswer_->setVisible(modem_->isChecked()); }

}  // namespace brevik::ui
