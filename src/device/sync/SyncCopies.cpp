// The two copies of the Synchronize page: the transfers of the player, run
// over the selected lines, and the lines updated as each file arrives.
#include <algorithm>

#include "catalogue/AudioHost.h"
#include "catalogue/FillRow.h"
#include "catalogue/PathText.h"
#include "catalogue/VolumeLabels.h"
#include "device/sync/SyncBusy.h"
#include "device/sync/SyncCompare.h"
#include "device/sync/Synchronization.h"
#include "device/transfer/CopyToNjb.h"
#include "device/transfer/CopyToPc.h"

namespace tonvault::device {

using catalogue::Button;
using catalogue::MessageKind;
using catalogue::Sound;

namespace {

// What is sent for a line: the file and the texts of its PC side, the
// bitrate of its FILES row.
SendItem SendItemOf(const SyncEntry& entry) {
  const SideTexts& pc = entry.pc;
  return SendItem{pc[kFilename], pc[kAlbum], pc[kArtist], pc[kTitle], pc[kGenre], pc[kComment],
                  entry.bitrate, pc[kTrack], pc[kYear],  pc[kFilesize]};
}

void NothingSelected(catalogue::Application& app, const char* text) {
  catalogue::Ask(app.frontend, Sound::Hand, MessageKind::Information, text, {Button::Ok});
}

}  // namespace

std::vector<int> Synchronization::SelectedEntries(SyncCategory skipped) const {
  std::vector<int> entries;
  for (const SyncLine& line : lines_) {
    if (line.selected && array_[static_cast<std::size_t>(line.entry)].category != skipped) entries.push_back(line.entry);
  }
  return entries;
}

int Synchronization::TrackIdOf(const SyncEntry& entry) const {
  const DeviceTrackTable& table = content_.Table();
  if (entry.deviceEntry >= 0 && static_cast<std::size_t>(entry.deviceEntry) < table.Size()) {
    const int id = table.Entries()[static_cast<std::size_t>(entry.deviceEntry)].id;
    if (id >= 0) return id;
  }
  return table.FindDeviceTrackId(entry.player[kArtist], entry.player[kTitle], entry.player[kAlbum]);
}

template <class Copy>
void Synchronization::WithPlayer(Copy copy) {
  if (transfers_ == nullptr) return;
  {
    SyncBusy busy(app_);
    const bool ready = session_.StartDevice(true);
    session_.SetDeviceReady(ready);
    if (ready) copy();
    EndAction();
  }
  session_.SetDeviceReady(session_.StopDevice(false, false));
}

void Synchronization::CopyToNjb() {
  WithPlayer([this] {
    const std::vector<int> entries = SelectedEntries(SyncCategory::OnlyOnNjb);
    if (entries.empty()) return NothingSelected(app_, "No files to copy to NJB selected.");
    std::vector<SendItem> items;
    for (int entry : entries) items.push_back(SendItemOf(array_[static_cast<std::size_t>(entry)]));
    CopyFilesToNjb(*transfers_, items, [&](std::size_t item, const AudioInfo& sent) { Sent(entries[item], sent); });
  });
}

void Synchronization::Sent(int entry, const AudioInfo& sent) {
  const std::vector<DeviceTrack>& tracks = content_.Table().Entries();
  // The track the send added to the table: the last entry with its ID.
  const auto found = std::find_if(tracks.rbegin(), tracks.rend(), [&](const DeviceTrack& t) { return t.id == sent.id; });
  if (found == tracks.rend()) return;
  SyncEntry& e = array_[static_cast<std::size_t>(entry)];
  e.category = SyncCategory::PcAndNjb;
  e.deviceEntry = static_cast<int>(tracks.rend() - found - 1);
  e.player = PlayerSideTexts(*found);
  changedSinceCompare_ = true;
}

void Synchronization::CopyToPc() {
  WithPlayer([this] {
    const std::string start =
        app_.options.upload.rememberPath ? catalogue::WithoutTrailingSeparator(app_.uploadFolder) : "";
    const std::optional<std::string> chosen = app_.frontend.ChooseFolder("Select Folder to save files from NJB", start);
    if (!chosen) return;
    std::string folder = *chosen;
    if (!folder.ends_with('/')) folder += '/';
    app_.uploadFolder = folder;
    const std::vector<int> entries = SelectedEntries(SyncCategory::OnlyOnPc);
    if (entries.empty()) return NothingSelected(app_, "No files to copy to PC selected.");
    content_.EnsureDeviceTable();
    std::vector<int> ids;
    for (int entry : entries) ids.push_back(TrackIdOf(array_[static_cast<std::size_t>(entry)]));
    CopyTracksToPc(*transfers_, ids, folder,
                   [&](std::size_t item, const std::string& target) { Received(entries[item], target); });
  });
}

void Synchronization::Received(int entry, const std::string& target) {
  catalogue::VolumeLabels labels;
  catalogue::FrontendScanHost host(app_);
  catalogue::FillContext context{app_.columnMap, app_.options, labels, host};
  catalogue::TrackRecord row;
  if (catalogue::FillRow(row, target, context).openError) return;
  app_.files.push_back(std::move(row));
  catalogue::FilesChanged(app_);
  app_.frontend.ListsChanged();
  SyncEntry& e = array_[static_cast<std::size_t>(entry)];
  e.category = SyncCategory::PcAndNjb;
  e.filesRow = static_cast<int>(app_.files.size() - 1);
  e.pc = PcSideTexts(app_.files.back(), app_.columnMap);
  e.bitrate = std::string(app_.columnMap.Get(app_.files.back(), catalogue::Column::Bitrate));
  changedSinceCompare_ = true;
}

}  // namespace tonvault::device
