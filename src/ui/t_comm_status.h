#pragma once
// The communication status window ("LiaisonSéri"): the current step of the
// exchange, the wake-up meter, the block count and data file of a download,
// and the abort button. The exchange engine drives it as its ExchangeObserver.

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace brevik::ui {

class TCommStatus final : public QDialog {
  Q_OBJECT

 public:
  explicit TCommStatus(QWidget* parent = nullptr);

  // AbortBtn's action (the engine's abort).
  void setAbortAction(std::function<void()> action) { abortAction_ = std::move(action); }

  void setStatusText(const QString& text);
  void setMeter(int percent);
  void setMeterVisible(bool visible);
  void setBlockCountVisible(bool visible);
  void setBlockCount(unsigned blocks);
  void setDataFileText(const QString& name);
  void setAbortVisible(bool visible);
  void setAbortEnabled(bool enabled);

 private Q_SLOTS:
  void AbortBtnClick();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QLabel* label1_;
  QLineEdit* statusBox_;
  QProgressBar* comMeter_;
  QLabel* blockCountLabel_;
  QLineEdit* blockCountField_;
  QLabel* udaFile_;
  QPushButton* abortBtn_;
  std::function<void()> abortAction_;
};

}  // namespace brevik::ui
