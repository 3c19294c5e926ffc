#include "device/transfer/CopyToPc.h"

#include <filesystem>

#include "audio/Rounding.h"
#include "catalogue/ListOperations.h"
#include "catalogue/PathText.h"
#include "device/content/DeviceRow.h"
#include "device/transfer/ReceiveFile.h"
#include "device/transfer/UploadFileName.h"

namespace tonvault::device {

using catalogue::Button;
using catalogue::Column;
using catalogue::MessageKind;
using catalogue::Sound;

namespace {

constexpr double kMegabyte = 1048576.0;

// The free-space bar from the drive that holds `folder`.
void ShowDriveSpace(TransferContext& context, const std::string& folder) {
  std::error_code error;
  const std::filesystem::space_info space = std::filesystem::space(folder, error);
  if (error) return;
  context.window.SetFreeSpace(audio::RoundHalfEven(static_cast<double>(space.capacity) / kMegabyte),
                              audio::RoundHalfEven(static_cast<double>(space.available) / kMegabyte));
}

TransferRow RowOf(const DeviceTrack& data, const std::string& target) {
  TransferRow row;
  row.album = data.album, row.artist = data.artist, row.title = data.title;
  row.fileName = target;
  row.sizeKb = std::to_string(KilobytesHalfEven(data.fileSize));
  return row;
}

void ReceiveOne(TransferContext& context, TransferRun& run, const ReceiveItem& item, std::size_t n,
                const ReceivedHook& received) {
  std::optional<DeviceTrack> data = item.data;
  if (item.isAudio) data = context.content.Table().GetDeviceTrack(item.id);
  if (!data || !context.session.DeviceReady()) {
    context.app.frontend.Beep(Sound::Exclamation);
    run.SetState(n, "ERROR (File not found)", TransferIcon::Error);
    run.Failed();
    return;
  }
  std::string state;
  if (!ReceiveFile(context, item.id, item.target, item.isAudio, n, *data, state)) {
    run.Failed();
    return;
  }
  run.SetState(n, state, TransferIcon::Done);
  run.Succeeded(n);
  if (received) received(n, item.target);
}

}  // namespace

TransferOutcome CopyItemsToPc(TransferContext& context, const std::vector<ReceiveItem>& items, const std::string& folder,
                              const ReceivedHook& received) {
  std::vector<TransferRow> rows;
  std::vector<std::int64_t> rowKb;
  for (const ReceiveItem& item : items) {
    rows.push_back(RowOf(item.data, item.target));
    rowKb.push_back(KilobytesHalfEven(item.data.fileSize));
  }
  TransferRun run(context, rows, rowKb);
  ShowDriveSpace(context, folder);
  return run.RunRows([&](std::size_t n) {
    ReceiveOne(context, run, items[n], n, received);
    ShowDriveSpace(context, folder);
  });
}

ReceiveItem AudioReceiveItem(TransferContext& context, int id, const std::string& folder) {
  ReceiveItem item;
  item.id = id;
  item.data = context.content.Table().GetDeviceTrack(id).value_or(DeviceTrack{});
  item.target = UploadFileName(folder, item.data, context.app.options);
  return item;
}

TransferOutcome CopyTracksToPc(TransferContext& context, const std::vector<int>& ids, const std::string& folder,
                               const ReceivedHook& received) {
  // The target names come from the table.
  context.content.EnsureDeviceTable();
  std::vector<ReceiveItem> items;
  for (const int id : ids) items.push_back(AudioReceiveItem(context, id, folder));
  return CopyItemsToPc(context, items, folder, received);
}

TransferOutcome CopySelectedFilesToPc(TransferContext& context) {
  catalogue::Application& app = context.app;
  const auto list = catalogue::ListOfCurrentPage(app);
  std::vector<const catalogue::TrackRecord*> selected;
  if (list) {
    for (const catalogue::TrackRecord& row : catalogue::Rows(app, *list)) {
      if (row.selected) selected.push_back(&row);
    }
  }
  if (selected.empty()) {
    catalogue::Ask(app.frontend, Sound::Hand, MessageKind::Information, "No files selected.", {Button::Ok});
    return {};
  }
  for (const catalogue::TrackRecord* row : selected) {
    if (!catalogue::IsPlayerRow(*row, app.columnMap)) {
      catalogue::Ask(app.frontend, Sound::Hand, MessageKind::Information, "Only Files on NJB can be copied to PC.",
                     {Button::Ok});
      return {};
    }
  }
  const std::string start = app.options.upload.rememberPath ? catalogue::WithoutTrailingSeparator(app.uploadFolder) : "";
  const std::optional<std::string> chosen = app.frontend.ChooseFolder("Select Folder to save files from NJB", start);
  if (!chosen) return {};
  std::string folder = *chosen;
  if (!folder.ends_with('/')) folder += '/';
  app.uploadFolder = folder;
  const bool known = context.content.EnsureDeviceTable();
  if (!known) context.session.SetDeviceReady(context.session.StopDevice(false, false));
  if (!known) return {};
  std::vector<int> ids;
  for (const catalogue::TrackRecord* row : selected) {
    const std::string_view artist = app.columnMap.Get(*row, Column::Artist);
    const std::string_view title = app.columnMap.Get(*row, Column::Title);
    const int id = context.content.Table().FindDeviceTrackId(artist, title, app.columnMap.Get(*row, Column::Album));
    if (id < 0) {
      catalogue::Ask(app.frontend, Sound::Exclamation, MessageKind::Error,
                     std::string(artist) + " - " + std::string(title) + "\n\r\r" + "Not found on NJB!", {Button::Ok});
      context.session.SetDeviceReady(context.session.StopDevice(false, false));
      return {};
    }
    ids.push_back(id);
  }
  return CopyTracksToPc(context, ids, folder, {});
}

}  // namespace tonvault::device
