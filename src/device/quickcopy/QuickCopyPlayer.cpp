// The Quick Copy page's commands on the player's own content: deleting,
// playing and copying the tracks' data into FILES.
#include <algorithm>

#include "catalogue/ListOperations.h"
#include "catalogue/LongOperation.h"
#include "catalogue/PageChange.h"
#include "device/quickcopy/QuickCopy.h"

namespace tonvault::device {

using catalogue::Button;
using catalogue::MessageKind;
using catalogue::Sound;

namespace {

constexpr const char* kCannotDelete = "Cannot delete file ";
constexpr const char* kOnNjb = " on NJB !";

// Rows from the last to the first, so erasing one keeps the others' places.
std::vector<std::size_t> LastFirst(std::vector<std::size_t> rows) {
  std::sort(rows.rbegin(), rows.rend());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

}  // namespace

bool QuickCopy::DeletePlayerFile(std::size_t row) {
  const QuickRow& quick = playerRows_[row];
  Device& device = context_.session.CurrentDevice();
  const bool data = level_ == QuickLevel::Data;
  if ((data ? device.DeleteDataFile(quick.id) : device.DeleteTrack(quick.id)) != kOk) {
    Error(kCannotDelete + quick.Name() + kOnNjb);
    return false;
  }
  context_.session.PauseDevice();
  if (!data && !context_.content.Table().RemoveDeviceTrack(quick.texts[2], quick.texts[1], quick.texts[3])) {
    context_.content.Table().SetDeviceTableStale(true);
  }
  playerRows_.erase(playerRows_.begin() + static_cast<std::ptrdiff_t>(row));
  return true;
}

void QuickCopy::DeleteFolderRow(std::size_t row) {
  DeviceTrackTable& table = context_.content.Table();
  std::vector<std::size_t> entries;
  for (std::size_t i = 0; i < table.Size(); ++i) {
    if (InGroup(table.Entries()[i], group_, playerRows_[row].Name())) entries.push_back(i);
  }
  std::size_t left = entries.size();
  catalogue::Frontend& frontend = context_.app.frontend;
  for (const std::size_t entry : entries) {
    if (context_.session.CurrentDevice().DeleteTrack(table.Entries()[entry].id) != kOk) {
      Error(std::string(kCannotDelete) + kOnNjb);
    } else {
      table.RemoveEntry(entry);
      context_.session.PauseDevice();
    }
    --left;
    frontend.SetProgress(0, static_cast<int>((entries.size() - left) * catalogue::kProgressMaximum / entries.size()));
    frontend.SetStatusPanel(0, std::to_string(left));
    frontend.PumpEvents();
  }
  frontend.SetProgress(0, 0);
  playerRows_.erase(playerRows_.begin() + static_cast<std::ptrdiff_t>(row));
}

void QuickCopy::DeleteOnPlayer(const std::vector<std::size_t>& selected) {
  if (NoneSelected(selected) || level_ == QuickLevel::Groups) return;
  const auto files = std::count_if(selected.begin(), selected.end(),
                                   [&](std::size_t row) { return !playerRows_.at(row).folder; });
  const std::string question = "Are you sure that you want to delete the\n\r" +
                               std::to_string(files > 0 ? files : static_cast<long>(selected.size())) +
                               (files > 0 ? " selected files on the NJB ?" : " selected folders on the NJB ?");
  catalogue::Application& app = context_.app;
  if (catalogue::Ask(app.frontend, Sound::Question, MessageKind::Confirmation, question, {Button::Yes, Button::No}) !=
      Button::Yes) {
    return;
  }
  context_.session.SetDeviceReady(context_.session.StartDevice(true));
  if (context_.session.DeviceReady()) {
    app.stopRequest = false;
    for (const std::size_t row : LastFirst(selected)) {
      if (playerRows_[row].folder) {
        DeleteFolderRow(row);
      } else {
        DeletePlayerFile(row);
      }
      app.frontend.PumpEvents();
      if (catalogue::ConfirmStop(app)) break;
    }
  }
  StopSession();
}

void QuickCopy::PlayOnPlayer(const std::vector<std::size_t>& selected, PlaybackControl& playback) {
  if (selected.empty() || level_ == QuickLevel::Groups || level_ == QuickLevel::Data) return;
  if (!playback.BeginQueueing()) return;
  catalogue::Application& app = context_.app;
  const std::vector<int> ids = SelectedTrackIds(selected);
  {
    catalogue::LongOperation::Pacing pacing;
    pacing.statusText = [](std::size_t done) { return "Queue:  " + std::to_string(done); };
    catalogue::LongOperation operation(app, pacing);
    for (std::size_t i = 0; i < ids.size(); ++i) {
      playback.PlayOrQueue(ids[i]);
      context_.session.Pump();
      if (!operation.ItemDone(i + 1, ids.size())) break;
    }
  }
  playback.EndQueueing();
  app.frontend.ShowPage(catalogue::Page::Player);
  catalogue::ChangePage(app, catalogue::Page::Player);
}

void QuickCopy::AddToPlaylist(const std::vector<std::size_t>& selected, PlaylistManager& playlists) {
  if (context_.session.DeviceKind() == 2) {
    catalogue::Ask(context_.app.frontend, Sound::Hand, MessageKind::Information, "Nomad II cannot handle PlayLists.",
                   {Button::Ok});
    return;
  }
  if (selected.empty() || level_ == QuickLevel::Groups || level_ == QuickLevel::Data) return;
  const std::string proposal = level_ == QuickLevel::Names ? playerRows_.at(selected.front()).Name() : "";
  playlists.AddPlayerTracks([&] { return GatherForPlaylist(selected); }, proposal);
}

std::vector<int> QuickCopy::GatherForPlaylist(const std::vector<std::size_t>& selected) {
  std::vector<int> ids = SelectedTrackIds(selected);
  if (level_ != QuickLevel::Names) return ids;
  // Every track of the chosen names: counted on the status bar, and a
  // confirmed stop keeps the tracks gathered so far.
  catalogue::LongOperation::Pacing pacing;
  pacing.statusText = [](std::size_t done) { return "Add:  " + std::to_string(done); };
  catalogue::LongOperation operation(context_.app, pacing);
  for (std::size_t i = 0; i < ids.size(); ++i) {
    if (!operation.ItemDone(i + 1, ids.size())) {
      ids.resize(i + 1);
      break;
    }
  }
  return ids;
}

void QuickCopy::CopyInfoToFiles(const std::vector<std::size_t>& selected) {
  if (NoneSelected(selected) || level_ == QuickLevel::Groups || level_ == QuickLevel::Data) return;
  catalogue::Application& app = context_.app;
  if (!app.files.empty()) {
    const Button answer = catalogue::Ask(app.frontend, Sound::Question, MessageKind::Confirmation, "Append to list ?",
                                         {Button::Yes, Button::No, Button::Cancel});
    if (answer == Button::Cancel) return;
    if (answer == Button::No) {
      app.files.clear();
      catalogue::FilesChanged(app);
    }
  }
  context_.session.SetDeviceReady(context_.session.StartDevice(true));
  if (context_.session.DeviceReady()) {
    const std::vector<int> ids = SelectedTrackIds(selected);
    catalogue::LongOperation::Pacing pacing;
    pacing.every = 25;
    pacing.statusText = [&app](std::size_t) { return "Files:  " + std::to_string(app.files.size()); };
    catalogue::LongOperation operation(app, pacing);
    operation.EndOnPage(catalogue::Page::Files);
    for (std::size_t i = 0; i < ids.size(); ++i) {
      AudioInfo info;
      if (context_.session.CurrentDevice().GetTrackInfo(ids[i], info) == kOk) {
        info.id = ids[i];
        context_.content.AddDeviceRow(info);
      }
      if (!operation.ItemDone(i + 1, ids.size())) break;
    }
  }
  StopSession();
  app.frontend.ShowPage(catalogue::Page::Files);
}

}  // namespace tonvault::device
