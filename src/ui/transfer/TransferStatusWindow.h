#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <functional>

#include "catalogue/Application.h"
#include "device/transfer/TransferWindow.h"
#include "ui/BlockProgressBar.h"

namespace tonvault::ui {

// " Transfer Status": one row per file of a transfer with its state icon
// and text, the per-file and free-space bars, the three counters, the
// Stop / Close button and the " After transfer finished " boxes. Modeless
// while a transfer runs, modal once it has finished.
class TransferStatusWindow : public QDialog, public device::TransferWindow {
  Q_OBJECT
 public:
  // `deviceReady` tells whether the player session is usable; without it a
  // stop request ends the transfer window at once.
  TransferStatusWindow(catalogue::Application& app, std::function<bool()> deviceReady, QWidget* parent = nullptr);

  // --- device::TransferWindow ---
  void Open(const std::vector<device::TransferRow>& rows, bool nomadII) override;
  void SetState(std::size_t row, const std::string& state, device::TransferIcon icon) override;
  void SetCounters(const device::TransferCounters& counters) override;
  void SetPercent(int percent, bool stopPending) override;
  void SetFreeSpace(std::int64_t totalMb, std::int64_t freeMb) override;
  void ShowAgain() override;
  device::AfterTransfer AfterTransferChoice() const override;
  void Finish(bool modal) override;

  // The per-file progress from the player's events.
  void ShowProgress(int percent) { SetPercent(percent, app_.stopRequest); }

  QTreeWidget* List() const { return list_; }
  QPushButton* Button() const { return button_; }
  BlockProgressBar* FileBar() const { return fileBar_; }
  BlockProgressBar* FreeBar() const { return freeBar_; }
  QString CounterText(int panel) const { return counters_[panel]->text(); }
  bool Running() const { return running_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QWidget* StatusLines();
  QWidget* AfterBoxes();
  void ButtonClicked();
  void SetRunning(bool running);
  void ShowStopLabel();

  catalogue::Application& app_;
  std::function<bool()> deviceReady_;
  QTreeWidget* list_ = nullptr;
  BlockProgressBar* fileBar_ = nullptr;
  BlockProgressBar* freeBar_ = nullptr;
  QLabel* counters_[3] = {};
  QPushButton* button_ = nullptr;
  QCheckBox* beep_ = nullptr;
  QCheckBox* stopNjb_ = nullptr;
  QCheckBox* switchOff_ = nullptr;
  bool running_ = false;
  int percent_ = 0;
  std::int64_t freeMb_ = 0;
};

// The icon of a transfer state.
QIcon TransferStateIcon(device::TransferIcon icon);

}  // namespace tonvault::ui
