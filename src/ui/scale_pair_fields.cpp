#include "ui/scale_pair_fields.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <variant>

#include "protocol/scale_tables.h"
#include "ui/text.h"

namespace brevik::ui {

ScalePairFields ScalePairFields::addTo(QGridLayout& grid, QWidget& owner, const QString& lowLabel,
                                       const QString& highLabel) {
  ScalePairFields f;
  const auto row = [&](int r, const char* name, const QString& label) {
    auto* field = new QLineEdit(&owner);
    field->setObjectName(name);
    field->setMaxLength(static_cast<int>(protocol::kScaleNumberWidth));
    field->setMaximumWidth(90);
    auto* caption = new QLabel(label, &owner);
    caption->setObjectName(QString(name) + "Label");
    caption->setBuddy(field);
    grid.addWidget(caption, r, 0);
    grid.addWidget(field, r, 1);
    return field;
  };
  f.low = row(0, "LoVal_dlg", lowLabel);
  f.high = row(1, "HiVal_dlg", highLabel);
  return f;
}

void ScalePairFields::clear() {
  low->clear();
  high->clear();
}

std::optional<setup::ScalePair> ScalePairFields::accepted(Prompter& prompter) const {
  auto checked = setup::acceptScaleEntries(toCp(low->text()), toCp(high->text()));
  if (const auto* refused = std::get_if<setup::ScaleEntryRefused>(&checked)) {
    prompter.ask(Message{MessageKind::Error, refused->message, Buttons::Ok, 0});
    low->setFocus();
    return std::nullopt;
  }
  return std::get<setup::ScalePair>(std::move(checked));
}

}  // namespace brevik::ui
