#include "ui/t_viewports_dlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/dialog_buttons.h"
#include "ui/text.h"
#include "ui/up_down_spinner.h"

namespace brevik::ui {

namespace vd = graph::viewport_dialog;

namespace {

void fillList(QListWidget* list, const std::vector<std::string>& lines) {
  list->clear();
  for (const std::string& line : lines) list->addItem(fromCp(line));
}

}  // namespace

TViewPortsDlg::TViewPortsDlg(graph::ViewportDialogModel& model, Prompter& prompter, QWidget* parent)
    : QDialog(parent), model_(model), prompter_(prompter) {
  setObjectName("TViewPortsDlg");
  setWindowTitle(fromCp(vd::kCaption));
  setModal(true);

  list_ = new QListWidget(this);
  list_->setObjectName("ListBox1");
  list_->setMinimumSize(300, 150);
  hidden_ = new QListWidget(this);
  hidden_->setObjectName("HideBox1");
  hidden_->setMinimumWidth(200);
  hiddenLabel_ = new QLabel(fromCp(vd::kHiddenLabel), this);
  hiddenLabel_->setObjectName("HideLabel");
  countLabel_ = new QLabel(this);
  countLabel_->setObjectName("Label1");

  border1_ = new UpDownSpinner("OvcSpinner1", this);
  border2_ = new UpDownSpinner("OvcSpinner2", this);
  count_ = new UpDownSpinner("OvcSpinner3", this);
  border1_->setToolTip("Border between viewports 1 and 2");
  border2_->setToolTip("Border between viewports 2 and 3");
  count_->setToolTip("Number of viewports");
  connect(border1_, &UpDownSpinner::clicked, this, [this](bool up) {
    model_.spinBorder1(up);
    refresh();
  });
  connect(border2_, &UpDownSpinner::clicked, this, [this](bool up) {
    model_.spinBorder2(up);
    refresh();
  });
  connect(count_, &UpDownSpinner::clicked, this, [this](bool up) {
    model_.spinCount(up);
    refresh();
  });

  auto* hideRow = new QHBoxLayout;
  for (int channel = 1; channel <= 4; ++channel) {
    auto* box = new QCheckBox(QString("Hide %1").arg(channel), this);
    box->setObjectName(QString("Hide%1").arg(channel));
    connect(box, &QCheckBox::clicked, this, [this, channel](bool checked) { HideClick(channel, checked); });
    hide_[static_cast<std::size_t>(channel - 1)] = box;
    hideRow->addWidget(box);
  }
  all_ = new QPushButton(fromCp(vd::kShowAllCaption), this);
  all_->setObjectName("AllBtn");
  connect(all_, &QPushButton::clicked, this, &TViewPortsDlg::AllBtnClick);
  hideRow->addWidget(all_);
  hideRow->addStretch();

  const DialogButtons buttonRow = makeDialogButtons(*this, [this] {
    if (help_) help_();
  });
  connect(buttonRow.ok, &QPushButton::clicked, this, &TViewPortsDlg::OKBtnClick);

  auto* borders = new QVBoxLayout;
  borders->addWidget(border1_);
  borders->addSpacing(8);
  borders->addWidget(border2_);
  borders->addStretch();
  auto* countRow = new QHBoxLayout;
  countRow->addWidget(countLabel_);
  countRow->addWidget(count_);
  countRow->addStretch();

  auto* grid = new QGridLayout;
  grid->addLayout(countRow, 0, 0);
  grid->addWidget(hiddenLabel_, 0, 2);
  grid->addWidget(list_, 1, 0);
  grid->addLayout(borders, 1, 1);
  grid->addWidget(hidden_, 1, 2);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(hideRow);
  layout->addLayout(buttonRow.row);

  refresh();
}

void TViewPortsDlg::refresh() {
  fillList(list_, model_.listLines());
  fillList(hidden_, model_.hiddenLines());
  countLabel_->setText(fromCp(model_.countLabel()));
  border1_->setVisible(model_.borderSpinner1Shown());
  border2_->setVisible(model_.borderSpinner2Shown());
  const bool hiddenList = model_.hiddenListShown();
  hidden_->setVisible(hiddenList);
  hiddenLabel_->setVisible(hiddenList);
  all_->setVisible(hiddenList);
  for (int channel = 1; channel <= 4; ++channel) {
    QCheckBox* box = hide_[static_cast<std::size_t>(channel - 1)];
    box->setVisible(model_.hideBoxShown(channel));
    box->setChecked(model_.hideBoxChecked(channel));
  }
}

void TViewPortsDlg::showEvent(QShowEvent* event) {
  arrangement_.reset();
  refresh();
  QDialog::showEvent(event);
}

void TViewPortsDlg::HideClick(int channel, bool checked) {
  if (std::optional<Message> refusal = model_.setHidden(channel, checked, realTime_)) prompter_.ask(*refusal);
  refresh();
}

void TViewPortsDlg::AllBtnClick() {
  model_.showAll();
  refresh();
}

void TViewPortsDlg::OKBtnClick() {
  arrangement_ = ViewportArrangement{model_.viewportCount(), model_.layout(), model_.visible()};
  accept();
}

std::optional<ViewportArrangement> TViewPortsDlg::choose() {
  if (exec() != QDialog::Accepted) return std::nullopt;
  return arrangement_;
}

}  // namespace brevik::ui
