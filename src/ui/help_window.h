#pragma once
// The help window (Contents1): short HTML pages, one per help topic number
// of the program, from the help folder of the shipped data.

#include <QDialog>
#include <filesystem>

class QTextBrowser;

namespace brevik::ui {

class HelpWindow final : public QDialog {
  Q_OBJECT

 public:
  HelpWindow(std::filesystem::path helpDir, QWidget* parent = nullptr);

  void showContents();
  void showTopic(int topic);
  void showPage(const QString& pageName);  // e.g. "settings"

  QString currentPage() const { return current_; }
  // The page file of a topic number ("topic-24.html").
  static QString topicPageName(int topic);

 private:
  std::filesystem::path helpDir_;
  QTextBrowser* browser_;
  QString current_;
};

}  // namespace brevik::ui
