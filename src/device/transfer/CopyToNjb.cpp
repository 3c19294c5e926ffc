#include "device/transfer/CopyToNjb.h"

#include <filesystem>
#include <optional>

#include "audio/Rounding.h"
#include "catalogue/AudioHost.h"
#include "catalogue/ListOperations.h"
#include "device/transfer/SendAudioFile.h"

namespace tonvault::device {

using catalogue::Button;
using catalogue::MessageKind;
using catalogue::Sound;

namespace {

constexpr double kMegabyte = 1048576.0;

bool Exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

audio::ScanOptions TransferScanOptions(const catalogue::Options& options) {
  audio::ScanOptions scan = catalogue::ImportScanOptions(options.mp3);
  scan.toleratedErrors = options.download.errorsTolerated;
  scan.fullScan = options.download.fullCheck;
  return scan;
}

// The megabytes the player would keep free after this file, after showing
// them in the free-space bar; nothing when the player cannot tell (it has
// gone away).
std::optional<std::int64_t> RestMegabytes(TransferContext& context, std::int64_t fileSize) {
  std::int64_t totalKb = 0, freeKb = 0;
  Device& device = context.session.CurrentDevice();
  if (device.GetTotalSpace(totalKb) != kOk || device.GetFreeSpace(freeKb) != kOk) return std::nullopt;
  const std::int64_t restMb = audio::RoundHalfEven(static_cast<double>(freeKb * 1024 - fileSize) / kMegabyte);
  context.window.SetFreeSpace(audio::RoundHalfEven(static_cast<double>(totalKb * 1024) / kMegabyte), restMb);
  return restMb;
}

// Why a file is not sent, or empty when it may go.
std::string Refusal(const TransferMetadata& metadata, std::int64_t restMb, std::int64_t limitMb) {
  if (metadata.corrupt) return "ERROR (File corrupt)";
  if (restMb < limitMb) return "Remaining space below " + std::to_string(limitMb) + " MBytes";
  if (metadata.info.length < 1) return "ERROR (Length 0 sec)";
  if (metadata.info.fileSize < 1) return "ERROR (Filesize 0)";
  return {};
}

void SendOne(TransferContext& context, TransferRun& run, const SendItem& item, std::size_t n, const SentHook& sent) {
  catalogue::Application& app = context.app;
  catalogue::FrontendScanHost host(app);
  const TransferMetadata metadata = MetadataOf(item, TransferScanOptions(app.options), host);
  const std::optional<std::int64_t> restMb = RestMegabytes(context, metadata.info.fileSize);
  if (!restMb) {
    app.frontend.Beep(Sound::Exclamation);
    run.SetState(n, "ERROR (on transfer)", TransferIcon::Error);
    run.Failed();
    return;
  }
  // The Jukebox keeps "Minimal free space"; the Nomad II at least 1 MB.
  const std::int64_t limitMb = context.session.DeviceKind() == 1 ? app.options.njb.minFree : 1;
  const std::string refusal = Refusal(metadata, *restMb, limitMb);
  if (!refusal.empty()) {
    app.frontend.Beep(Sound::Exclamation);
    run.SetState(n, refusal, refusal.starts_with("ERROR") ? TransferIcon::Error : TransferIcon::Replacing);
    return;
  }
  if (!SendAudioFile(context, item.path, metadata.info, n)) {
    run.Failed();
    return;
  }
  run.SetState(n, "Done", TransferIcon::Done);
  run.Succeeded(n);
  if (sent) {
    const int id = context.content.Table().FindDeviceTrackId(metadata.info.artist, metadata.info.title,
                                                             metadata.info.album);
    AudioInfo info = metadata.info;
    info.id = id;
    sent(n, info);
  }
}

}  // namespace

TransferOutcome CopyFilesToNjb(TransferContext& context, const std::vector<SendItem>& items, const SentHook& sent) {
  catalogue::Application& app = context.app;
  for (const SendItem& item : items) {
    if (!Exists(item.path)) {
      catalogue::Ask(app.frontend, Sound::Exclamation, MessageKind::Error, item.path + "\n\r\r" + "Not found !",
                     {Button::Ok});
      return {};
    }
  }
  std::vector<TransferRow> rows;
  std::vector<std::int64_t> rowKb;
  for (const SendItem& item : items) {
    rows.push_back(TransferRowOf(item));
    rowKb.push_back(NumberOfText(item.sizeKb));
  }
  TransferRun run(context, rows, rowKb);
  TransferOutcome outcome;
  outcome.ran = run.Begin();
  for (std::size_t n = 0; outcome.ran && n < items.size(); ++n) {
    SendOne(context, run, items[n], n, sent);
    if (!run.RowDone(n)) break;
  }
  run.Finish();
  outcome.counters = run.Counters();
  return outcome;
}

TransferOutcome CopySelectedFilesToNjb(TransferContext& context) {
  catalogue::Application& app = context.app;
  const auto list = catalogue::ListOfCurrentPage(app);
  std::vector<SendItem> items;
  bool playerRow = false;
  if (list) {
    for (const catalogue::TrackRecord& row : catalogue::Rows(app, *list)) {
      if (!row.selected) continue;
      const std::string_view path = app.columnMap.Get(row, catalogue::Column::Path);
      playerRow = playerRow || path.find("--- NJB") != std::string_view::npos ||
                  path.find("--- N II") != std::string_view::npos;
      items.push_back(SendItemOfRow(row, app.columnMap));
    }
  }
  if (items.empty()) {
    catalogue::Ask(app.frontend, Sound::Hand, MessageKind::Information, "No files selected.", {Button::Ok});
    return {};
  }
  if (playerRow) {
    catalogue::Ask(app.frontend, Sound::Hand, MessageKind::Information,
                   "Files on NJB or from cache file can not be copied to NJB.", {Button::Ok});
    return {};
  }
  return CopyFilesToNjb(context, items);
}

}  // namespace tonvault::device
