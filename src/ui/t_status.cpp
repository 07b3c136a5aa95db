#include "ui/t_status.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/text.h"

namespace brevik::ui {

QLineEdit* TStatus::box(const QString& name) {
  auto* b = new QLineEdit(this);
  b->setObjectName(name);
  b->setReadOnly(true);
  components_.insert(name, b);
  return b;
}

QLabel* TStatus::label(const QString& name, const QString& caption) {
  auto* l = new QLabel(caption, this);
  if (!name.isEmpty()) {
    l->setObjectName(name);
    components_.insert(name, l);
  }
  return l;
}

TStatus::TStatus(QWidget* parent) : QDialog(parent) {
  setObjectName("TStatus");
  setWindowTitle("Status");
  auto* grid = new QGridLayout(this);
  int row = 0;

  grid->addWidget(label("", "Model"), row, 0);
  grid->addWidget(box("ModelBox"), row, 1, 1, 2);
  grid->addWidget(label("", "Rev."), row, 3);
  grid->addWidget(box("RevBox"), row, 4);
  ++row;
  grid->addWidget(label("StationLabel", "Station"), row, 0);
  grid->addWidget(box("StationAddrBox"), row, 1);
  grid->addWidget(label("", "Pile"), row, 3);
  grid->addWidget(box("BatteryBox"), row, 4);
  ++row;

  const QStringList heads = {"Canal", "", "Valeur", "Description", "Echelle", "Entrée"};
  for (int c = 0; c < heads.size(); ++c) grid->addWidget(label("", heads[c]), row, c);
  ++row;
  for (int ch = 1; ch <= 4; ++ch, ++row) {
    grid->addWidget(label("", QString::number(ch)), row, 0);
    grid->addWidget(box(QString("onoff%1box").arg(ch)), row, 1);
    valueBoxes_[static_cast<std::size_t>(ch - 1)] = box(QString("Value%1Box").arg(ch));
    grid->addWidget(valueBoxes_[static_cast<std::size_t>(ch - 1)], row, 2);
    grid->addWidget(box(QString("Desc%1Box").arg(ch)), row, 3);
    grid->addWidget(box(QString("scal%1box").arg(ch)), row, 4);
    grid->addWidget(box(QString("inp%1box").arg(ch)), row, 5);
  }
  grid->addWidget(label("", "Session"), row, 0);
  grid->addWidget(box("IdStatBox"), row, 1, 1, 5);
  ++row;
  grid->addWidget(label("", "Fréq.Echant"), row, 0);
  grid->addWidget(box("SampRateBox"), row, 1, 1, 2);
  grid->addWidget(label("", "Capacité"), row, 3);
  grid->addWidget(box("TimeSpanBox"), row, 4, 1, 2);
  ++row;
  grid->addWidget(label("FirstReadingLabel", "Début mesure "), row, 0);
  grid->addWidget(box("FirstReadingBox"), row, 1, 1, 5);
  ++row;
  grid->addWidget(label("", "Etat"), row, 0);
  grid->addWidget(box("CurrentStateBox"), row, 1, 1, 5);
  ++row;
  grid->addWidget(label("", "Arrêt"), row, 0);
  grid->addWidget(box("StopModeBox"), row, 1, 1, 5);
  ++row;
  clockBoxLabel_ = label("clockBoxLabel", "Horloge");
  clockBox_ = box("ClockBox");
  grid->addWidget(clockBoxLabel_, row, 0);
  grid->addWidget(clockBox_, row, 1, 1, 3);
  identLabel_ = label("IdentLabel", "");
  grid->addWidget(identLabel_, row, 4, 1, 2);
  ++row;
  scheduleLabel_ = label("ScheduleLabel", "");
  grid->addWidget(scheduleLabel_, row, 0, 1, 6);
  ++row;
  okButton_ = new QPushButton("OK", this);
  okButton_->setObjectName("OKButton");
  okButton_->setDefault(true);
  connect(okButton_, &QPushButton::clicked, this, &TStatus::OKButtonClick);
  grid->addWidget(okButton_, row, 5);
  for (QLineEdit* v : valueBoxes_) v->setMinimumWidth(150);
  setRealTimeAppearance(false);
}

void TStatus::fill(const protocol::StatusForm& form) {
  for (const protocol::StatusComponent& c : form.components) {
    QWidget* w = components_.value(QString::fromStdString(c.name), nullptr);
    if (w == nullptr) continue;
    if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->setText(fromCp(c.text));
    // Labels keep their captions, except the first-reading label whose text
    // changes with the logger's state.
    else if (auto* l = qobject_cast<QLabel*>(w); l && c.name == "FirstReadingLabel") l->setText(fromCp(c.text));
    w->setVisible(c.visible);
  }
}

void TStatus::setRealTimeAppearance(bool realTime) {
  setWindowTitle(realTime ? "Real Time Display" : "Status");
  clockBox_->setVisible(!realTime);
  clockBoxLabel_->setVisible(!realTime);
  for (QLineEdit* v : valueBoxes_) {
    QPalette p = v->palette();
    p.setColor(QPalette::Base, realTime ? QColor(Qt::white) : palette().color(QPalette::Button));
    v->setPalette(p);
  }
}

void TStatus::setValueTexts(const std::array<std::string, 4>& texts) {
  for (std::size_t i = 0; i < 4; ++i) valueBoxes_[i]->setText(fromCp(texts[i]));
}

void TStatus::setValueText(const QString& text) {
  for (QLineEdit* v : valueBoxes_) v->setText(text);
}

void TStatus::setScheduleText(const QString& text) { scheduleLabel_->setText(text); }

void TStatus::setIdentificationText(const QString& text) { identLabel_->setText(text); }

void TStatus::closeQuietly() { hide(); }

void TStatus::OKButtonClick() {
  program::StatusFormExitOutcome out;
  if (leave_) out = leave_(program::StatusFormExit::OkButton);
  if (out.closeForm) hide();
  if (out.showMainWindow && showMain_) showMain_();
}

void TStatus::closeEvent(QCloseEvent* event) {
  program::StatusFormExitOutcome out;
  if (leave_) out = leave_(program::StatusFormExit::Closed);
  event->accept();
  if (out.showMainWindow && showMain_) showMain_();
}

}  // namespace brevik::ui
