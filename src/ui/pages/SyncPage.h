#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTableView>
#include <QWidget>
#include <map>
#include <memory>

#include "catalogue/Application.h"
#include "device/sync/Synchronization.h"

namespace tonvault::ui {

class OptionControls;
class SyncListModel;

// The Synchronize page: the " Compare " criteria, the " Show " buttons, the
// actions and the result list. The controls change the "Sync" options as
// they are clicked; everything else happens in device::Synchronization.
class SyncPage : public QWidget {
  Q_OBJECT
 public:
  explicit SyncPage(catalogue::Application& app, QWidget* parent = nullptr);

  // Gives the page its player and the transfers' window, once the window
  // has them.
  void Attach(device::DeviceSession& session, device::PlayerContent& content, device::TransferContext* transfers);
  // Lets go of the player and of the state's page-change hooks; the window
  // calls it while the state still exists.
  void Detach();
  device::Synchronization* Logic() const { return sync_.get(); }

  QTableView* List() const { return list_; }
  QPushButton* CompareButton() const { return compare_; }
  QPushButton* ShowButton(device::SyncCategory category) const { return showButtons_.at(category); }
  QPushButton* DeleteOnNjbButton() const { return deleteOnNjb_; }
  QPushButton* DeleteOnPcButton() const { return deleteOnPc_; }
  QPushButton* CopyToNjbButton() const { return copyToNjb_; }
  QPushButton* CopyToPcButton() const { return copyToPc_; }
  QComboBox* FileNameModes() const { return modeLists_.at(3); }

 private:
  QWidget* BuildCompareGroup();
  QWidget* BuildShowGroup();
  QWidget* BuildActions();
  QComboBox* ModeList(int& option, QWidget* parent);
  QPushButton* Action(const char* caption, const char* hint, void (device::Synchronization::*run)(), QWidget* parent);
  // Reads the lines again into the list, with their selection and the sort arrow.
  void Reload();
  // Column widths as the settings keep them.
  void ApplyColumnWidths();
  void StoreColumnWidth(int column, int width);

  catalogue::Application& app_;
  OptionControls* controls_;
  std::unique_ptr<device::Synchronization> sync_;
  SyncListModel* model_ = nullptr;
  QTableView* list_ = nullptr;
  QPushButton* compare_ = nullptr;
  QPushButton* deleteOnNjb_ = nullptr;
  QPushButton* deleteOnPc_ = nullptr;
  QPushButton* copyToNjb_ = nullptr;
  QPushButton* copyToPc_ = nullptr;
  std::map<device::SyncCategory, QPushButton*> showButtons_;
  std::vector<QComboBox*> modeLists_;
  bool reloading_ = false;
};

}  // namespace tonvault::ui
