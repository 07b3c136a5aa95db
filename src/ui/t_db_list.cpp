#include "ui/t_db_list.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "phonebook/list_choice.h"
#include "program/desktop_session.h"
#include "ui/dialog_buttons.h"
#include "ui/text.h"

namespace brevik::ui {

namespace {

constexpr std::size_t kModemInitCapacity = 255;

QString captionOf(phonebook::ListKind kind) {
  switch (kind) {
    case phonebook::ListKind::Phone: return QString::fromUtf8("Liste Tél.");
    case phonebook::ListKind::LocalModem: return "Local Modem";
    case phonebook::ListKind::RemoteModem: return "Modem Site  ";
  }
  return {};
}

QPushButton* button(QWidget* parent, const char* name, const QString& text) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}

}  // namespace

TDbList::TDbList(phonebook::ListKind kind, program::DesktopSession& session, std::filesystem::path home,
                 QWidget* parent)
    : QDialog(parent),
      session_(session),
      edit2_(new QLineEdit(this)),
      home_(std::move(home)),
      model_(kind, session.prompter()),
      edit1_(new QLineEdit(this)),
      list_(new QListWidget(this)) {
  setWindowTitle(captionOf(kind));
  setWindowModality(Qt::ApplicationModal);

  edit1_->setObjectName("Edit1");
  edit2_->setObjectName("Edit2");
  auto* label1 = new QLabel(QString::fromUtf8("&Nom "), this);
  label1->setObjectName("Label1");
  label1->setBuddy(edit1_);
  auto* label2 =
      new QLabel(kind == phonebook::ListKind::Phone ? QString::fromUtf8("&Numéro Tél. ") : QString("&Chaine carac"), this);
  label2->setObjectName("Label2");
  label2->setBuddy(edit2_);
  connect(edit1_, &QLineEdit::textEdited, this, [this](const QString& t) { model_.edit1 = toCp(t); });
  connect(edit2_, &QLineEdit::textEdited, this, [this](const QString& t) { model_.edit2 = toCp(t); });

  auto* group = new QGroupBox("S&elect", this);
  group->setObjectName("GroupBox1");
  list_->setObjectName("ListBox1");
  connect(list_, &QListWidget::currentRowChanged, this, &TDbList::ListBox1Click);
  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->addWidget(list_);

  auto* insert = button(this, "InsertBtn", "&Insert");
  auto* modify = button(this, "ModBtn", "&Modif.");
  auto* remove = button(this, "DelBtn", "&Delete");
  connect(insert, &QPushButton::clicked, this, &TDbList::InsertBtnClick);
  connect(modify, &QPushButton::clicked, this, &TDbList::ModBtnClick);
  connect(remove, &QPushButton::clicked, this, &TDbList::DelBtnClick);
  const DialogButtons buttons = makeDialogButtons(*this, [this] {
    if (help_) help_();
  });
  connect(buttons.ok, &QPushButton::clicked, this, &TDbList::OKBtnClick);

  auto* fields = new QVBoxLayout;
  fields->addWidget(label1);
  fields->addWidget(edit1_);
  fields->addWidget(label2);
  fields->addWidget(edit2_);
  auto* edits = new QHBoxLayout;
  edits->addWidget(insert);
  edits->addWidget(modify);
  edits->addWidget(remove);
  fields->addLayout(edits);
  fields->addStretch();
  auto* top = new QHBoxLayout;
  top->addLayout(fields, 3);
  top->addWidget(group, 2);
  buttonRow_ = buttons.row;
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttonRow_);
  edit1_->setMinimumWidth(260);
}

void TDbList::openList() {
  model_.create(home_);
  model_.show(phonebook::savedPosition(model_.kind(), session_.program().settings()));
  showModel();
  show();
  raise();
  activateWindow();
}

void TDbList::showModel() {
  const QSignalBlocker quiet(list_);
  list_->clear();
  for (const std::string& name : model_.names()) list_->addItem(fromCp(name));
  if (const auto at = model_.selection()) list_->setCurrentRow(static_cast<int>(*at));
  else list_->setCurrentRow(-1);
  edit1_->setText(fromCp(model_.edit1));
  edit2_->setText(fromCp(model_.edit2));
  if (model_.focus() == phonebook::EditFocus::Name) edit1_->setFocus();
  if (model_.focus() == phonebook::EditFocus::Value) edit2_->setFocus();
}

void TDbList::act(phonebook::ListAction action) {
  if (action == phonebook::ListAction::Beep) QApplication::beep();
  showModel();
}

void TDbList::ListBox1Click() {
  if (list_->currentRow() >= 0) model_.click(static_cast<std::size_t>(list_->currentRow()));
  showModel();
}

void TDbList::InsertBtnClick() { act(model_.insert()); }
void TDbList::ModBtnClick() { act(model_.modify()); }
void TDbList::DelBtnClick() { act(model_.remove()); }

void TDbList::OKBtnClick() {
  if (model_.ok(session_.program().settings())) chosen(*model_.selected());
  accept();
}

TDB0::TDB0(program::DesktopSession& session, std::filesystem::path home, QWidget* parent)
    : TDbList(phonebook::ListKind::Phone, session, std::move(home), parent) {
  setObjectName("TDB0");
}

void TDB0::chosen(const phonebook::ListRecord& record) { session_.phoneEntryChosen(record.name); }

TDB1::TDB1(program::DesktopSession& session, std::filesystem::path home, QWidget* parent)
    : TDbList(phonebook::ListKind::LocalModem, session, std::move(home), parent) {
  setObjectName("TDB1");
}

TDB2::TDB2(program::DesktopSession& session, std::filesystem::path home, QWidget* parent)
    : TDbList(phonebook::ListKind::RemoteModem, session, std::move(home), parent) {
  setObjectName("TDB2");
  auto* configure = button(this, "ConfigBtn", "Configure");
  connect(configure, &QPushButton::clicked, this, &TDB2::ConfigBtnClick);
  buttonRow_->insertWidget(0, configure);
}

void TDB2::ConfigBtnClick() {
  session_.program().settings().RemoteModemInit = toCp(edit2_->text()).substr(0, kModemInitCapacity);
  if (configure_) configure_();
}

}  // namespace brevik::ui
