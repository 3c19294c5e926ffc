#pragma once

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "catalogue/Application.h"
#include "device/quickcopy/QuickCopy.h"

namespace tonvault::ui {

class QuickPaneView;

// The Quick Copy page: a folder of the computer on the left, the player's
// tracks by album, artist or genre (or its data files) on the right, each
// with its buttons and pop-up menu; rows are dragged from one pane onto the
// other to copy them, a double click opens a folder.
class QuickCopyPage : public QWidget {
  Q_OBJECT
 public:
  explicit QuickCopyPage(catalogue::Application& app, QWidget* parent = nullptr);
  ~QuickCopyPage() override;

  // Connects the page to the player once the window has made its parts;
  // `analyze` shows a file of the computer on the MP3 page.
  void Attach(device::TransferContext& context, device::PlaybackControl& playback,
              device::PlaylistManager& playlists, std::function<void(const std::string&)> analyze);

  device::QuickCopy* Model() { return quick_.get(); }
  QTreeWidget* PcView();
  QTreeWidget* PlayerView();
  QMenu* PcMenu() { return &pcMenu_; }
  QMenu* PlayerMenu() { return &playerMenu_; }
  QSplitter* Splitter() { return split_; }
  // Fills both panes (the computer pane when empty, the player's first level).
  void Fill();
  // Shows both panes as the model holds them.
  void Refill();
  // Enables the pop-up entries for the focused row and the selection.
  void UpdateMenus();
  // Drops the selected rows of one pane on row `target` (-1: the empty
  // part) of the other.
  void DropOn(QTreeWidget* target, int row);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* BuildPcPane();
  QWidget* BuildPlayerPane();
  QPushButton* Button(QLayout* layout, const QString& caption, std::function<void()> run);
  QAction* Entry(QMenu& menu, const QString& caption, std::function<void()> run);
  void AddSelectionEntries(QMenu& menu, QTreeWidget* view);
  // The selection entries, the double click, the heading click and the
  // pop-up of a pane.
  void ConnectPane(QTreeWidget* view, QMenu& menu, std::function<void(std::size_t)> open,
                   std::function<void(int)> sort);
  void Run(const std::function<void()>& command);
  std::vector<std::size_t> Selected(QTreeWidget* view) const;
  std::optional<std::size_t> Focused(QTreeWidget* view) const;
  void UpdateButtons();

  catalogue::Application& app_;
  std::unique_ptr<device::QuickCopy> quick_;
  device::PlaybackControl* playback_ = nullptr;
  device::PlaylistManager* playlists_ = nullptr;
  std::function<void(const std::string&)> analyze_;
  QSplitter* split_ = nullptr;
  QuickPaneView* pcView_ = nullptr;
  QuickPaneView* playerView_ = nullptr;
  QLabel* folderLabel_ = nullptr;
  QLabel* playerPath_ = nullptr;
  QPushButton* audio_ = nullptr;
  QPushButton* data_ = nullptr;
  QPushButton* levelUp_ = nullptr;
  QPushButton* upOneLevel_ = nullptr;
  QPushButton* copyToPc_ = nullptr;
  QPushButton* deleteOnPlayer_ = nullptr;
  QPushButton* play_ = nullptr;
  QPushButton* addToPlaylist_ = nullptr;
  QMenu pcMenu_;
  QMenu playerMenu_;
  QAction* pcCopy_ = nullptr;
  QAction* pcDetails_ = nullptr;
  QAction* pcAnalyze_ = nullptr;
  QAction* pcPlay_ = nullptr;
  QAction* playerCopy_ = nullptr;
  QAction* playerDelete_ = nullptr;
  QAction* playerDetails_ = nullptr;
  QAction* playerPlay_ = nullptr;
  QAction* playerPlaylist_ = nullptr;
  QAction* playerInfo_ = nullptr;
  bool filled_ = false;
};

}  // namespace tonvault::ui
