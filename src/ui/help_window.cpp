#include "ui/help_window.h"

#include <QFile>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace brevik::ui {

HelpWindow::HelpWindow(std::filesystem::path helpDir, QWidget* parent)
    : QDialog(parent), helpDir_(std::move(helpDir)), browser_(new QTextBrowser(this)) {
  setObjectName("HelpWindow");
  setWindowTitle("Brevik Logger Help");
  browser_->setObjectName("HelpBrowser");
  browser_->setOpenLinks(true);
  browser_->setSearchPaths({QString::fromStdString(helpDir_.string())});
  auto* close = new QPushButton("&Close", this);
  close->setObjectName("CloseBtn");
  connect(close, &QPushButton::clicked, this, &QDialog::hide);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser_);
  layout->addWidget(close, 0, Qt::AlignRight);
  resize(560, 480);
}

QString HelpWindow::topicPageName(int topic) { return QString("topic-%1.html").arg(topic); }

void HelpWindow::showPage(const QString& pageName) {
  QString file = pageName.endsWith(".html") ? pageName : pageName + ".html";
  const QString path = QString::fromStdString((helpDir_ / file.toStdString()).string());
  if (!QFile::exists(path)) {
    // A page that is missing is said plainly instead of showing an empty window.
    browser_->setHtml(QString("<h1>Help</h1><p>The help page <b>%1</b> was not found in %2.</p>")
                          .arg(file.toHtmlEscaped(),
                               QString::fromStdString(helpDir_.string()).toHtmlEscaped()));
  } else {
    browser_->setSource(QUrl::fromLocalFile(path));
  }
  current_ = file;
  show();
  raise();
}

void HelpWindow::showContents() { showPage("contents.html"); }

void HelpWindow::showTopic(int topic) { showPage(topicPageName(topic)); }

}  // namespace brevik::ui
