#pragma once
// The file chooser (TSelectFile): one file of a folder whose name matches a
// mask, in any case. The setup form picks a user scaling table with it; the
// tables are read from the program's home, so the list shows that folder
// only and offers no other drive or folder.

#include <QDialog>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace brevik::ui {

class TSelectFile final : public QDialog {
  Q_OBJECT

 public:
  TSelectFile(std::filesystem::path folder, QWidget* parent = nullptr, std::function<void()> help = {});

  // Caption, the prompt of Label1 and the mask; the list is read again.
  void prepare(const QString& caption, const QString& prompt, const QString& mask);
  // The chosen file's name (with its extension, without its folder) once OK
  // accepted it; none before OK or after Cancel.
  const std::optional<std::string>& chosen() const { return chosen_; }
  // Runs the dialog.
  std::optional<std::string> choose();

 private Q_SLOTS:
  void FileListBox1Change();
  void OKBtnClick();

 private:
  void listFiles();

  std::filesystem::path folder_;
  QString mask_;
  QLabel* prompt_ = nullptr;
  QListWidget* files_ = nullptr;
  QLineEdit* fileName_ = nullptr;
  QPushButton* ok_ = nullptr;
  std::optional<std::string> chosen_;
};

}  // namespace brevik::ui
