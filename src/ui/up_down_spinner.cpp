#include "ui/up_down_spinner.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace brevik::ui {

UpDownSpinner::UpDownSpinner(const QString& name, QWidget* parent)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
  setObjectName(name);
  up_->setObjectName(name + "Up");
  up_->setArrowType(Qt::UpArrow);
  down_->setObjectName(name + "Down");
  down_->setArrowType(Qt::DownArrow);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  for (QToolButton* b : {up_, down_}) {
    b->setFixedSize(20, 14);
    b->setAutoRepeat(true);
    layout->addWidget(b);
  }
  connect(up_, &QToolButton::clicked, this, [this] { Q_EMIT clicked(true); });
  connect(down_, &QToolButton::clicked, this, [this] { Q_EMIT clicked(false); });
}

}  // namespace brevik::ui
