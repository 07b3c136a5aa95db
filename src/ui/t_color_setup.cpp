#include "ui/t_color_setup.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/dialog_buttons.h"
#include "ui/file_paths.h"
#include "ui/text.h"

namespace brevik::ui {

namespace {

QColor qColorOf(graph::Rgb c) { return QColor(c.red, c.green, c.blue); }

// A caption shown as written: "Texte & Echelle" has no shortcut letter.
QString literalCaption(QString caption) { return caption.replace('&', "&&"); }

QString trimmedRight(const QString& s) {
  qsizetype n = s.size();
  while (n > 0 && s[n - 1].isSpace()) --n;
  return s.left(n);
}

}  // namespace

graph::ColorSlots loadStartupColorSlots(const std::filesystem::path& home, settings::LoggerSettings& settings,
                                        Prompter& prompter) {
  const graph::StartupColors loaded = graph::loadStartupColors(home, settings.ColorFileName);
  if (loaded.warning) prompter.ask(Message{MessageKind::Warning, *loaded.warning, Buttons::Ok, 0});
  if (loaded.colorFileName) settings.ColorFileName = *loaded.colorFileName;
  if (loaded.writeError) prompter.ask(Message{MessageKind::Error, loaded.writeError->message, Buttons::Ok, 0});
  return loaded.slots;
}

TColorSetup::TColorSetup(graph::ColorSlots& slots, settings::LoggerSettings& settings, std::filesystem::path home,
                         Prompter& prompter, FileDialogs fileDialogs, QWidget* parent)
    : QDialog(parent),
      slots_(slots),
      settings_(settings),
      home_(std::move(home)),
      prompter_(prompter),
      fileDialogs_(std::move(fileDialogs)) {
  namespace cd = graph::color_dialog;
  setObjectName("TColorSetup");
  setWindowTitle(fromCp(cd::kCaption));
  setModal(true);
  // No border icons: the dialog closes through its buttons only.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

  auto* palette = new QGroupBox(fromCp(cd::kPaletteGroup), this);
  palette->setObjectName("PaletteGroup");
  auto* paletteGrid = new QGridLayout(palette);
  for (std::size_t i = 0; i < graph::kPalette.size(); ++i) {
    const graph::PaletteColor& p = graph::kPalette[i];
    auto* b = new QToolButton(palette);
    const QString name = fromCp(p.buttonName);
    b->setObjectName(name);
    b->setToolTip(name.mid(2));
    QPixmap swatch(22, 22);
    swatch.fill(qColorOf(p.rgb));
    b->setIcon(QIcon(swatch));
    b->setIconSize(swatch.size());
    b->setAutoRaise(true);
    connect(b, &QToolButton::clicked, this, [this, rgb = p.rgb] { paintPanel(selected_, rgb); });
    paletteGrid->addWidget(b, static_cast<int>(i / 4), static_cast<int>(i % 4));
  }

  auto* slotBox = new QGroupBox(this);
  slotBox->setObjectName("SlotGroup");
  auto* slotGrid = new QGridLayout(slotBox);
  auto* radios = new QButtonGroup(slotBox);
  for (const graph::ColorSlotInfo& info : graph::kColorSlotInfo) {
    const auto k = static_cast<std::size_t>(info.slot - 1);
    auto* r = new QRadioButton(literalCaption(fromCp(info.caption)), slotBox);
    r->setObjectName(fromCp(info.radioButton));
    r->setToolTip(fromCp(info.usedFor));
    radios->addButton(r, info.slot);
    auto* panel = new QFrame(slotBox);
    panel->setObjectName(fromCp(info.panel));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setAutoFillBackground(true);
    panel->setFixedSize(48, 20);
    radios_[k] = r;
    panelFrames_[k] = panel;
    slotGrid->addWidget(r, info.slot - 1, 0);
    slotGrid->addWidget(panel, info.slot - 1, 1);
  }
  connect(radios, &QButtonGroup::idClicked, this, &TColorSetup::selectSlot);
  channel1Caption_ = radios_[0]->text();

  auto* save = new QPushButton(fromCp(cd::kSaveButtonCaption), this);
  save->setObjectName(fromCp(cd::kSaveButtonName));
  auto* load = new QPushButton(fromCp(cd::kLoadButtonCaption), this);
  load->setObjectName(fromCp(cd::kLoadButtonName));
  const DialogButtons buttonRow = makeDialogButtons(*this, [this] {
    if (help_) help_();
  });
  cancel_ = buttonRow.cancel;
  connect(save, &QPushButton::clicked, this, &TColorSetup::SaveColorsClick);
  connect(load, &QPushButton::clicked, this, &TColorSetup::LoadColorsClick);
  connect(buttonRow.ok, &QPushButton::clicked, this, &TColorSetup::OKBtnClick);

  auto* top = new QHBoxLayout;
  top->addWidget(palette, 0, Qt::AlignTop);
  top->addWidget(slotBox);
  buttonRow.row->insertWidget(0, save);
  buttonRow.row->insertWidget(1, load);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttonRow.row);

  showSlots();
}

void TColorSetup::setChannel1Description(const std::string& description) {
  const QString caption = trimmedRight(fromCp(description));
  // Without a description (no file yet) the slot keeps its own name.
  channel1Caption_ = literalCaption(caption.isEmpty() ? fromCp(graph::kColorSlotInfo[0].caption) : caption);
}

void TColorSetup::showSlots() {
  for (int slot = 1; slot <= static_cast<int>(graph::kColorSlotCount); ++slot)
    paintPanel(slot, graph::slotColor(slots_, slot));
  radios_[0]->setText(channel1Caption_);
  radios_[0]->setChecked(true);
  selectSlot(1);
}

void TColorSetup::showEvent(QShowEvent* event) {
  // Once per opening rather than at every repaint, so that an uncovered
  // window keeps the colours picked so far.
  cancel_->setEnabled(true);
  showSlots();
  QDialog::showEvent(event);
}

void TColorSetup::selectSlot(int slot) { selected_ = slot; }

void TColorSetup::paintPanel(int slot, graph::Rgb color) {
  const auto k = static_cast<std::size_t>(slot - 1);
  panels_[k] = color;
  QPalette pal = panelFrames_[k]->palette();
  pal.setColor(QPalette::Window, qColorOf(color));
  panelFrames_[k]->setPalette(pal);
}

void TColorSetup::panelsToSlots() {
  for (std::size_t k = 0; k < graph::kColorSlotCount; ++k) slots_[k] = graph::paletteIndexOf(panels_[k]);
}

void TColorSetup::showError(const std::string& text) {
  prompter_.ask(Message{MessageKind::Error, text, Buttons::Ok, 0});
}

void TColorSetup::LoadColorsClick() {
  namespace cd = graph::color_dialog;
  FileDialogRequest request;
  request.objectName = "OpenDialog1";
  request.title = fromCp(cd::kOpenTitle);
  request.directory = qPathOf(home_);
  request.filter = qtFilterOf(cd::kFileFilter);
  const std::optional<QString> chosen = fileDialogs_ ? fileDialogs_(request) : std::nullopt;
  if (!chosen) return;
  // A file that is not a colour file is refused whole: the slots stay.
  auto loaded = graph::readColorFile(pathOf(*chosen));
  if (!loaded) {
    showError(loaded.error().message);
    return;
  }
  slots_ = *loaded;
  for (int slot = 1; slot <= static_cast<int>(graph::kColorSlotCount); ++slot)
    paintPanel(slot, graph::slotColor(slots_, slot));
  cancel_->setEnabled(false);
  settings_.ColorFileName = toCp(*chosen);
}

void TColorSetup::SaveColorsClick() {
  namespace cd = graph::color_dialog;
  FileDialogRequest request;
  request.objectName = "SaveDialog1";
  request.title = fromCp(cd::kSaveTitle);
  request.directory = qPathOf(home_);
  request.filter = qtFilterOf(cd::kFileFilter);
  request.defaultSuffix = fromCp(cd::kDefaultExtension);
  request.save = true;
  const std::optional<QString> chosen = fileDialogs_ ? fileDialogs_(request) : std::nullopt;
  if (!chosen) return;
  panelsToSlots();
  const std::filesystem::path target = graph::colorFileSaveName(pathOf(*chosen));
  if (auto written = graph::writeColorFile(target, slots_); !written) {
    showError(written.error().message);
    return;
  }
  settings_.ColorFileName = toCp(qPathOf(target));
}

void TColorSetup::OKBtnClick() {
  panelsToSlots();
  accept();
  if (applied_) applied_(slots_);
}

void TColorSetup::reject() {
  // After a Load the loaded colours are the slots already: only OK closes.
  if (!cancel_->isEnabled()) return;
  QDialog::reject();
}

}  // namespace brevik::ui
