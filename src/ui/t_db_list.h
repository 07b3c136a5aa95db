#pragma once
// The three list dialogs: the phone book (TDB0, "Liste Tél."), the local
// modems (TDB1) and the site modems (TDB2, with its Configure button). Each
// shows a ListDialogModel and forwards clicks to it; OK makes the selected
// entry the current one in the Logger Settings. Modal while shown.

#include <QDialog>
#include <filesystem>
#include <functional>

#include "phonebook/list_dialog_model.h"

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace brevik::program {
class DesktopSession;
}

namespace brevik::ui {

class TDbList : public QDialog {
  Q_OBJECT

 public:
  TDbList(phonebook::ListKind kind, program::DesktopSession& session, std::filesystem::path home,
          QWidget* parent = nullptr);

  void setHelpAction(std::function<void()> action) { help_ = std::move(action); }
  // Reads the list file again, selects the saved position and shows the window.
  void openList();
  const phonebook::ListDialogModel& model() const { return model_; }

 protected:
  // What OK does beyond saving the choice in the settings.
  virtual void chosen(const phonebook::ListRecord& record) { (void)record; }
  program::DesktopSession& session_;
  QLineEdit* edit2_;
  QHBoxLayout* buttonRow_ = nullptr;

 private Q_SLOTS:
  void ListBox1Click();
  void InsertBtnClick();
  void ModBtnClick();
  void DelBtnClick();
  void OKBtnClick();

 private:
  void act(phonebook::ListAction action);
  void showModel();

  std::filesystem::path home_;
  phonebook::ListDialogModel model_;
  QLineEdit* edit1_;
  QListWidget* list_;
  std::function<void()> help_;
};

class TDB0 final : public TDbList {
  Q_OBJECT
 public:
  TDB0(program::DesktopSession& session, std::filesystem::path home, QWidget* parent = nullptr);

 protected:
  void chosen(const phonebook::ListRecord& record) override;
};

class TDB1 final : public TDbList {
  Q_OBJECT
 public:
  TDB1(program::DesktopSession& session, std::filesystem::path home, QWidget* parent = nullptr);
};

class TDB2 final : public TDbList {
  Q_OBJECT
 public:
  TDB2(program::DesktopSession& session, std::filesystem::path home, QWidget* parent = nullptr);
  // ConfigBtn: the set-up string being edited becomes RemoteModemInit, and
  // the remote modem window opens.
  void setConfigureAction(std::function<void()> action) { configure_ = std::move(action); }

 private Q_SLOTS:
  void ConfigBtnClick();

 private:
  std::function<void()> configure_;
};

}  // namespace brevik::ui
