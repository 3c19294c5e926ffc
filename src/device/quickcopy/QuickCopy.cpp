#include "device/quickcopy/QuickCopy.h"

#include <filesystem>

#include "catalogue/AudioHost.h"
#include "catalogue/FillRow.h"
#include "catalogue/LongOperation.h"
#include "catalogue/PathText.h"
#include "catalogue/Platform.h"
#include "device/quickcopy/PcFolder.h"
#include "files/Folders.h"

namespace tonvault::device {

using catalogue::Button;
using catalogue::MessageKind;
using catalogue::Sound;

namespace fs = std::filesystem;

QuickCopy::QuickCopy(TransferContext& context) : context_(context) {}

void QuickCopy::SetAudioMode(bool audio) {
  context_.app.options.quick.audio = audio;
  FillPcPane();
  FillPlayerPane(true);
}

// --- the computer ---

void QuickCopy::FillPcPane(const std::string& folder) {
  catalogue::Application& app = context_.app;
  std::string shown = folder.empty() ? app.uploadFolder : folder;
  if (shown.empty()) shown = catalogue::HomeFolder();
  shown = catalogue::ExistingStartFolder(shown);
  if (!shown.ends_with('/')) shown += '/';
  std::optional<catalogue::LongOperation> operation;
  if (!startingUp_) {
    catalogue::LongOperation::Pacing pacing;
    pacing.statusText = [](std::size_t done) { return std::to_string(done); };
    operation.emplace(app, pacing);
  }
  app.uploadFolder = shown;
  pcRows_ = ListPcRows(app, shown, AudioMode(), [&](std::size_t done, std::size_t total) {
    return !operation || operation->ItemDone(done, total);
  });
  pcSortColumn_ = -1;
}

bool QuickCopy::OneLevelUpEnabled() const { return catalogue::WithoutTrailingSeparator(Folder()) != "/"; }

void QuickCopy::OneLevelUp() {
  if (!OneLevelUpEnabled()) return;
  FillPcPane(catalogue::FolderOf(catalogue::WithoutTrailingSeparator(Folder())));
}

void QuickCopy::SelectDirectory() {
  const std::optional<std::string> chosen =
      context_.app.frontend.ChooseFolder("Select folder on PC:", catalogue::ExistingStartFolder(Folder()));
  if (chosen) FillPcPane(*chosen);
}

void QuickCopy::NewDirectory() {
  const std::optional<std::string> name =
      context_.app.frontend.InputText("Create new directory", "Enter name for new directory", "");
  if (!name) return;
  const std::string path = Folder() + *name;
  if (name->empty() || files::MakeFolders(path)) {
    Error("Cannot create directory\n\r" + path);
  }
  FillPcPane();
}

void QuickCopy::OpenPcRow(std::size_t row) {
  if (row < pcRows_.size() && pcRows_[row].folder) FillPcPane(PathOfPcRow(row));
}

void QuickCopy::PlayWithDefaultPlayer(const std::vector<std::size_t>& selected) {
  bool opened = false;
  for (const std::size_t row : selected) {
    std::error_code error;
    if (row >= pcRows_.size() || pcRows_[row].folder || !fs::is_regular_file(PathOfPcRow(row), error)) continue;
    opened = context_.app.frontend.OpenWithDefaultProgram(PathOfPcRow(row)) || opened;
  }
  if (!opened) context_.app.frontend.Beep(Sound::Default);
}

void QuickCopy::PcSongDetails(std::size_t row) {
  if (row >= pcRows_.size() || pcRows_[row].folder) return;
  const catalogue::Options& options = context_.app.options;
  catalogue::FrontendScanHost host(context_.app);
  QuickCopyFile file;
  ReadQuickCopyFile(PathOfPcRow(row), options.mp3.errorsTolerated, options.mp3.fullScan, options, host, file);
  Information(SongDetailsText(file));
}

PcPopupState QuickCopy::PcPopup(bool anySelected, std::optional<std::size_t> focused) const {
  PcPopupState state;
  state.copy = anySelected;
  const bool file = focused && *focused < pcRows_.size() && !pcRows_[*focused].folder;
  state.songDetails = state.play = AudioMode() && file;
  state.analyze = state.songDetails && catalogue::LowerExtension(pcRows_[*focused].Name()).find(".mp") != std::string::npos;
  return state;
}

namespace {

void ToggleSort(std::vector<QuickRow>& rows, int displayColumn, int& sortColumn, bool& ascending) {
  ascending = sortColumn == displayColumn ? !ascending : true;
  sortColumn = displayColumn;
  SortQuickRows(rows, displayColumn, ascending);
}

}  // namespace

void QuickCopy::SortPcPane(int displayColumn) { ToggleSort(pcRows_, displayColumn, pcSortColumn_, pcAscending_); }

// --- the player ---

void QuickCopy::ShowPlayerRows(QuickLevel level, std::vector<QuickRow> rows, std::string name) {
  level_ = level;
  name_ = std::move(name);
  playerRows_ = std::move(rows);
  playerPath_ = PlayerPathText(level, group_, name_);
  playerSortColumn_ = -1;
  const bool files = level != QuickLevel::Groups;
  const bool jukebox = context_.session.DeviceKind() == 1 && level != QuickLevel::Data;
  buttons_.copy = buttons_.remove = files;
  buttons_.play = buttons_.playlist = files && jukebox;
  buttons_.songDetails = level == QuickLevel::Tracks;
  buttons_.copyInfo = files && AudioMode();
}

void QuickCopy::StopSession() {
  context_.session.SetDeviceReady(context_.session.StopDevice(false, false));
}

void QuickCopy::FillDataFiles() {
  DeviceSession& session = context_.session;
  // DeviceReady stays set after a transfer closed the player, so the
  // player is started whenever the list is read (a no-op when it is open).
  session.SetDeviceReady(session.StartDevice(false));
  std::vector<QuickRow> rows;
  if (session.DeviceReady()) {
    Device& device = session.CurrentDevice();
    const bool jukebox = context_.session.DeviceKind() == 1;
    int id = 0;
    for (Status status = device.FindFirstDataFile(id); status == kOk; status = device.FindNextDataFile(id)) {
      DataInfo info;
      QuickRow row;
      if (device.GetDataFileInfo(id, info) == kOk && DataRow(info, jukebox, row)) rows.push_back(std::move(row));
    }
  }
  ShowPlayerRows(QuickLevel::Data, std::move(rows));
  StopSession();
}

void QuickCopy::FillPlayerPane(bool force) {
  if (!playerRows_.empty() && !force) return;
  if (!AudioMode()) {
    FillDataFiles();
    return;
  }
  context_.content.EnsureDeviceTable();
  ShowPlayerRows(QuickLevel::Groups, GroupRows());
  StopSession();
}

void QuickCopy::ShowLevel(QuickLevel level, std::string name) {
  const DeviceTrackTable& table = context_.content.Table();
  if (level == QuickLevel::Groups) {
    ShowPlayerRows(level, GroupRows());
  } else if (level == QuickLevel::Names) {
    ShowPlayerRows(level, NameRows(table, group_));
  } else {
    std::vector<QuickRow> rows = TrackRows(table, group_, name);
    ShowPlayerRows(level, std::move(rows), std::move(name));
  }
}

void QuickCopy::OpenPlayerRow(std::size_t row) {
  if (row >= playerRows_.size() || !playerRows_[row].folder) return;
  if (level_ == QuickLevel::Groups) {
    group_ = static_cast<QuickGroup>(row < 3 ? row : 0);
    std::vector<QuickRow> names = NameRows(context_.content.Table(), group_);
    if (!names.empty()) ShowPlayerRows(QuickLevel::Names, std::move(names));
  } else if (level_ == QuickLevel::Names) {
    ShowLevel(QuickLevel::Tracks, playerRows_[row].Name());
  }
}

void QuickCopy::UpOneLevel() {
  if (level_ == QuickLevel::Tracks) ShowLevel(QuickLevel::Names, {});
  else if (level_ == QuickLevel::Names) ShowLevel(QuickLevel::Groups, {});
}

void QuickCopy::RefreshPlayerPane() {
  if (!AudioMode()) {
    FillDataFiles();
    return;
  }
  context_.content.BuildDeviceTrackTable();
  StopSession();
  ShowLevel(level_ == QuickLevel::Data ? QuickLevel::Groups : level_, name_);
}

void QuickCopy::PlayerSongDetails(std::size_t row) {
  if (level_ != QuickLevel::Tracks || row >= playerRows_.size()) return;
  const std::optional<DeviceTrack> track = context_.content.Table().GetDeviceTrack(playerRows_[row].id);
  if (track) Information(PlayerSongDetailsText(*track));
}

PlayerPaneState QuickCopy::PlayerPopup(bool anySelected) const {
  PlayerPaneState state = buttons_;
  state.copy = state.remove = state.copy && anySelected;
  state.copyInfo = state.copyInfo && anySelected;
  state.play = state.playlist = state.copyInfo && context_.session.DeviceKind() == 1;
  return state;
}

void QuickCopy::SortPlayerPane(int displayColumn) {
  ToggleSort(playerRows_, displayColumn, playerSortColumn_, playerAscending_);
}

// --- messages ---

void QuickCopy::Information(const std::string& text) {
  context_.app.frontend.ShowMessage(MessageKind::Information, text, {Button::Ok});
}

void QuickCopy::Error(const std::string& text) {
  catalogue::Ask(context_.app.frontend, Sound::Exclamation, MessageKind::Error, text, {Button::Ok});
}

bool QuickCopy::NoneSelected(const std::vector<std::size_t>& selected) {
  if (!selected.empty()) return false;
  catalogue::Ask(context_.app.frontend, Sound::Hand, MessageKind::Information, "No files selected.", {Button::Ok});
  return true;
}

}  // namespace tonvault::device
