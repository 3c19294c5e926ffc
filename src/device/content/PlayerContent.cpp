#include "device/content/PlayerContent.h"

#include "catalogue/ListOperations.h"
#include "catalogue/LongOperation.h"
#include "catalogue/PageChange.h"
#include "device/content/DeviceRow.h"

namespace tonvault::device {

using catalogue::Button;
using catalogue::Column;
using catalogue::ListId;
using catalogue::MessageKind;
using catalogue::Sound;
using catalogue::TrackRecord;

namespace {

constexpr std::size_t kStopCheckRows = 25;

void ShowError(catalogue::Application& app, const std::string& text) {
  catalogue::Ask(app.frontend, Sound::Exclamation, MessageKind::Error, text, {Button::Ok});
}

// Calls `take` with the ID and info of every track whose info could be read
// (a track whose info cannot be read is skipped) until `take` returns false.
// Returns false when `take` ended the walk.
template <class Take>
bool ForEachTrack(Device& device, Take take) {
  int id = 0;
  for (Status status = device.FindFirstTrack(id); status == kOk; status = device.FindNextTrack(id)) {
    AudioInfo info;
    if (device.GetTrackInfo(id, info) == kOk && !take(id, info)) return false;
  }
  return true;
}

// Files are appended, FILES is emptied first, or the command ends.
bool PrepareFilesList(catalogue::Application& app) {
  if (app.files.empty()) return true;
  switch (catalogue::Ask(app.frontend, Sound::Question, MessageKind::Confirmation,
                         "Files list is not empty.\n\r\rAppend to list ?", {Button::Yes, Button::No, Button::Cancel})) {
    case Button::Yes: return true;
    case Button::No:
      app.files.clear();
      catalogue::FilesChanged(app);
      app.frontend.ListsChanged();
      return true;
    default: return false;
  }
}

}  // namespace

int PlayerContent::ActiveMemory() {
  int memory = 0;
  if (session_.DeviceKind() == 2 && session_.CurrentDevice().GetActiveMemory(memory) != kOk) memory = 0;
  return memory;
}

void PlayerContent::ReadFilesOnNjb() {
  catalogue::LongOperation operation(app_, {});
  operation.EndOnPage(catalogue::Page::Files);
  if (!PrepareFilesList(app_)) return;
  bool ready = session_.StartDevice(true);
  session_.SetDeviceReady(ready);
  StorageInfo storage;
  if (ready && session_.CurrentDevice().GetStorageInfo(storage) != kOk) {
    ready = false;
    session_.SetDeviceReady(false);
    ShowError(app_, "Cannot get StorageInfo from NJB");
  }
  if (ready) {
    table_.Clear();
    catalogue::FilesChanged(app_);
    app_.filesSort.Clear();
    table_.SetDeviceTableStale(true);
    const std::size_t total = static_cast<std::size_t>(std::max(storage.tracks, 0));
    catalogue::ShowTimeEstimate(app_, total, 0);
    const int kind = session_.DeviceKind();
    const int memory = ActiveMemory();
    std::size_t count = 0;
    const bool complete = ForEachTrack(session_.CurrentDevice(), [&](int id, const AudioInfo& info) {
      app_.files.push_back(MakeDeviceRow(info, id, kind, memory, app_.columnMap));
      ++count;
      app_.frontend.SetProgress(0, total == 0 ? 0 : static_cast<int>(std::min(count, total) * catalogue::kProgressMaximum / total));
      if (app_.files.size() % kStopCheckRows == 0) {
        catalogue::ShowTimeEstimate(app_, total, count);
        app_.frontend.SetStatusPanel(0, "Files:  " + std::to_string(app_.files.size()));
        app_.frontend.ListsChanged();
        app_.frontend.PumpEvents();
        if (catalogue::ConfirmStop(app_)) return false;
      }
      table_.AddDeviceTrack(false, info, id);
      return true;
    });
    table_.SetDeviceTableStale(!complete);
    app_.frontend.ListsChanged();
  }
  session_.SetDeviceReady(session_.StopDevice(false, false));
}

bool PlayerContent::BuildDeviceTrackTable() {
  table_.Clear();
  const bool ready = session_.StartDevice(true);
  session_.SetDeviceReady(ready);
  app_.frontend.SetStatusPanel(1, "Preparing ...");
  app_.frontend.PumpEvents();
  if (ready) {
    ForEachTrack(session_.CurrentDevice(), [&](int id, const AudioInfo& info) {
      table_.AddDeviceTrack(false, info, id);
      return true;
    });
  }
  table_.SetDeviceTableStale(!ready);
  app_.frontend.SetStatusPanel(1, "");
  return ready;
}

bool PlayerContent::EnsureDeviceTable() { return !table_.DeviceTableStale() || BuildDeviceTrackTable(); }

void PlayerContent::AddDeviceRow(const AudioInfo& info) {
  const int memory = session_.LibraryPresent() ? ActiveMemory() : 0;
  app_.files.push_back(MakeDeviceRow(info, info.id, session_.DeviceKind(), memory, app_.columnMap));
  catalogue::FilesChanged(app_);
  app_.frontend.ListsChanged();
}

std::string PlayerContent::DeleteRefusal(const std::vector<TrackRecord>& rows) const {
  const int kind = session_.DeviceKind();
  const bool external = chosenMemory_ == kExternalMemory;
  for (const TrackRecord& row : rows) {
    if (!row.selected) continue;
    if (row.texts.size() < static_cast<std::size_t>(catalogue::kPlayerRowSlots)) {
      return "Only actual loaded files on NJB can be deleted.";
    }
    const std::string_view path = app_.columnMap.Get(row, Column::Path);
    if (kind == 1 && path.find("--- NJB") == std::string_view::npos) return "Only files on NJB can be deleted.";
    if (kind == 2 && (path.find("--- N II") == std::string_view::npos ||
                      row.icon != (external ? catalogue::StatusIcon::NomadExternal : catalogue::StatusIcon::NomadInternal))) {
      return std::string("Only files on Nomad II ") + (external ? "External" : "Internal") +
             " Memory can be deleted.\n\r\rPlease switch Memory first.";
    }
  }
  return {};
}

void PlayerContent::DeleteSelectedFilesOnNjb() {
  const auto list = catalogue::ListOfCurrentPage(app_);
  const std::size_t selected = list ? catalogue::CountSelected(catalogue::Rows(app_, *list)) : 0;
  if (selected == 0) {
    app_.frontend.Beep(Sound::Default);
    return;
  }
  const std::string refusal = DeleteRefusal(catalogue::Rows(app_, *list));
  if (!refusal.empty()) {
    catalogue::Ask(app_.frontend, Sound::Hand, MessageKind::Information, refusal, {Button::Ok});
    return;
  }
  const std::string question =
      "Are you sure that you want to delete the\n\r" + std::to_string(selected) + " selected files on the NJB ?";
  if (catalogue::Ask(app_.frontend, Sound::Question, MessageKind::Confirmation, question, {Button::Yes, Button::No}) !=
      Button::Yes) {
    return;
  }
  DeleteOnPlayer(*list, selected);
}

void PlayerContent::DeleteOnPlayer(ListId list, std::size_t selected) {
  catalogue::LongOperation operation(app_, {1, {}, 1});
  const bool ready = session_.StartDevice(true);
  session_.SetDeviceReady(ready);
  std::vector<TrackRecord>& rows = catalogue::Rows(app_, list);
  std::vector<TrackRecord>& others = catalogue::Rows(app_, list == ListId::Files ? ListId::Results : ListId::Files);
  std::size_t done = 0;
  // Without the player nothing is deleted and every row stays.
  for (std::size_t i = rows.size(); ready && i-- > 0;) {
    if (!rows[i].selected) continue;
    const Status status = session_.CurrentDevice().DeleteTrack(DeviceRowId(rows[i]));
    session_.PauseDevice();
    if (status != kOk) {
      ShowError(app_, "Problem deleting files on NJB");
      break;
    }
    const catalogue::ColumnMap& map = app_.columnMap;
    table_.RemoveDeviceTrack(map.Get(rows[i], Column::Artist), map.Get(rows[i], Column::Title),
                             map.Get(rows[i], Column::Album));
    const std::ptrdiff_t twin = catalogue::FindEqualRow(others, rows[i]);
    if (twin >= 0) others.erase(others.begin() + twin);
    rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(i));
    catalogue::FilesChanged(app_);
    app_.frontend.ListsChanged();
    if (!operation.ItemDone(++done, selected)) break;
  }
  session_.SetDeviceReady(session_.StopDevice(false, false));
}

void PlayerContent::RebuildAudioCache() {
  const bool ready = session_.StartDevice(true);
  session_.SetDeviceReady(ready);
  if (!ready) return;
  catalogue::SetCommandState(app_, 0);
  session_.CurrentDevice().RebuildCache();  // the library reports through its messages
  session_.SetDeviceReady(session_.StopDevice(false, false));
  catalogue::RefreshPage(app_);
}

void PlayerContent::ChooseNomadMemory(int memory) {
  chosenMemory_ = memory == kExternalMemory ? kExternalMemory : kInternalMemory;
  if (startingUp_) return;
  const bool ready = session_.StartDevice(true);
  session_.SetDeviceReady(ready);
  if (!ready) return;
  catalogue::SetCommandState(app_, 0);
  session_.CurrentDevice().SetActiveMemory(chosenMemory_);
  BuildDeviceTrackTable();
  if (refillQuickCopy) refillQuickCopy();
  session_.SetDeviceReady(session_.StopDevice(false, false));
  catalogue::RefreshPage(app_);
}

}  // namespace tonvault::device
