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

void ReceiveOne(TransferContext& context, TransferRun& run, int id, const std::string& target, std::size_t n,
                const ReceivedHook& received) {
  const std::optional<DeviceTrack> data = context.content.Table().GetDeviceTrack(id);
  if (!data || !context.session.DeviceReady()) {
    context.app.frontend.Beep(Sound::Exclamation);
    run.SetState(n, "ERROR (File not found)", TransferIcon::Error);
    run.Failed();
    return;
  }
  std::string state;
  if (!ReceiveFile(context, id, target, true, n, *data, state)) {
    run.Failed();
    return;
  }
  run.SetState(n, state, TransferIcon::Done);
  run.Succeeded(n);
  if (received) received(n, target);
}

}  // namespace

TransferOutcome CopyTracksToPc(TransferContext& context, const std::vector<int>& ids, const std::string& folder,
                               const ReceivedHook& received) {
  // The target names come from the table.
  context.content.EnsureDeviceTable();
  std::vector<TransferRow> rows;
  std::vector<std::int64_t> rowKb;
  std::vector<std::string> targets;
  for (const int id : ids) {
    const DeviceTrack data = context.content.Table().GetDeviceTrack(id).value_or(DeviceTrack{});
    targets.push_back(UploadFileName(folder, data, context.app.options));
    rows.push_back(RowOf(data, targets.back()));
    rowKb.push_back(KilobytesHalfEven(data.fileSize));
  }
  TransferRun run(context, rows, rowKb);
  ShowDriveSpace(context, folder);
  TransferOutcome outcome;
  outcome.ran = run.Begin();
  for (std::size_t n = 0; outcome.ran && n < ids.size(); ++n) {
    ReceiveOne(context, run, ids[n], targets[n], n, received);
    ShowDriveSpace(context, folder);
    if (!run.RowDone(n)) break;
  }
  run.Finish();
  outcome.counters = run.Counters();
  return outcome;
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
    const std::string_view path = app.columnMap.Get(*row, Column::Path);
    if (path.find("--- NJB") == std::string_view::npos && path.find("--- N II") == std::string_view::npos) {
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
