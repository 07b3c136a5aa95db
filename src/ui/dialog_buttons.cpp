#include "ui/dialog_buttons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace brevik::ui {

DialogButtons makeDialogButtons(QDialog& dialog, std::function<void()> help) {
  DialogButtons b;
  b.ok = new QPushButton("OK", &dialog);
  b.ok->setObjectName("OKBtn");
  b.ok->setDefault(true);
  b.cancel = new QPushButton("Cancel", &dialog);
  b.cancel->setObjectName("CancelBtn");
  QObject::connect(b.cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  b.row = new QHBoxLayout;
  b.row->addStretch();
  b.row->addWidget(b.ok);
  b.row->addWidget(b.cancel);
  if (help) {
    b.help = new QPushButton("Help", &dialog);
    b.help->setObjectName("HelpBtn");
    QObject::connect(b.help, &QPushButton::clicked, &dialog, std::move(help));
    b.row->addWidget(b.help);
  }
  return b;
}

}  // namespace brevik::ui
