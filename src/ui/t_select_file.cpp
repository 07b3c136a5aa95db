#include "ui/t_select_file.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/dialog_buttons.h"
#include "ui/file_paths.h"
#include "ui/text.h"

namespace brevik::ui {

TSelectFile::TSelectFile(std::filesystem::path folder, QWidget* parent, std::function<void()> help)
    : QDialog(parent), folder_(std::move(folder)) {
  setObjectName("TSelectFile");
  setModal(true);
  prompt_ = new QLabel(this);
  prompt_->setObjectName("Label1");
  files_ = new QListWidget(this);
  files_->setObjectName("FileListBox1");
  files_->setSelectionMode(QAbstractItemView::SingleSelection);
  connect(files_, &QListWidget::currentItemChanged, this, &TSelectFile::FileListBox1Change);
  connect(files_, &QListWidget::itemDoubleClicked, this, &TSelectFile::OKBtnClick);
  fileName_ = new QLineEdit(this);
  fileName_->setObjectName("FileNameBox");
  fileName_->setReadOnly(true);

  const DialogButtons buttons = makeDialogButtons(*this, std::move(help));
  ok_ = buttons.ok;
  connect(ok_, &QPushButton::clicked, this, &TSelectFile::OKBtnClick);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(prompt_);
  layout->addWidget(fileName_);
  layout->addWidget(files_);
  layout->addLayout(buttons.row);
  resize(360, 320);
}

void TSelectFile::prepare(const QString& caption, const QString& prompt, const QString& mask) {
  setWindowTitle(caption);
  prompt_->setText(prompt);
  mask_ = mask;
  chosen_.reset();
  listFiles();
}

void TSelectFile::listFiles() {
  files_->clear();
  // Names differ in case from one copy of a table to the next: the mask
  // matches any case.
  const QStringList names =
      QDir(qPathOf(folder_)).entryList({mask_}, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
  files_->addItems(names);
  FileListBox1Change();
}

void TSelectFile::FileListBox1Change() {
  const QListWidgetItem* item = files_->currentItem();
  // Until a file is picked the name box holds the mask, and OK has nothing
  // to hand back.
  fileName_->setText(item != nullptr ? item->text() : mask_);
  ok_->setEnabled(item != nullptr);
}

void TSelectFile::OKBtnClick() {
  const QListWidgetItem* item = files_->currentItem();
  if (item == nullptr) return;
  chosen_ = toCp(item->text());
  accept();
}

std::optional<std::string> TSelectFile::choose() {
  exec();
  return chosen_;
}

}  // namespace brevik::ui
