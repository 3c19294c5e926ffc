#include "device/transfer/CopyToNjb.h"

#include <filesystem>
#include <optional>

#include "catalogue/AudioHost.h"
#include "catalogue/ListOperations.h"
#include "device/transfer/FreeSpace.h"
#include "device/transfer/SendAudioFile.h"

namespace tonvault::device {

using catalogue::Button;
using catalogue::MessageKind;
using catalogue::Sound;

namespace {

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

// Why a file is not sent, or empty when it may go.
std::string Refusal(const TransferMetadata& metadata, std::int64_t restMb, std::int64_t limitMb) {
  if (metadata.corrupt) return "ERROR (File corrupt)";
  if (restMb < limitMb) return "Remaining space below " + std::to_string(limitMb) + " MBytes";
  if (metadata.info.length < 1) return "ERROR (Length 0 sec)";
  if (metadata.info.fileSize < 1) return "ERROR (Filesize 0)";
  return {};
}

void SendOne(TransferContext& context, TransferRun& run, const SendItem& item, std::size_t n, const SentHook& sent) {
  catalogue::FrontendScanHost host(context.app);
  const TransferMetadata metadata = MetadataOf(item, TransferScanOptions(context.app.options), host);
  if (CheckAndSendAudio(context, run, item.path, metadata, n) != SendResult::Sent || !sent) return;
  const int id =
      context.content.Table().FindDeviceTrackId(metadata.info.artist, metadata.info.title, metadata.info.album);
  AudioInfo info = metadata.info;
  info.id = id;
  sent(n, info);
}

}  // namespace

SendResult CheckAndSendAudio(TransferContext& context, TransferRun& run, const std::string& path,
                             const TransferMetadata& metadata, std::size_t n) {
  catalogue::Application& app = context.app;
  const std::optional<std::int64_t> restMb = RestMegabytes(context, metadata.info.fileSize);
  if (!restMb) {
    app.frontend.Beep(Sound::Exclamation);
    run.SetState(n, "ERROR (on transfer)", TransferIcon::Error);
    run.Failed();
    return SendResult::Failed;
  }
  const std::string refusal = Refusal(metadata, *restMb, MinimalFreeMegabytes(context));
  if (!refusal.empty()) {
    app.frontend.Beep(Sound::Exclamation);
    run.SetState(n, refusal, refusal.starts_with("ERROR") ? TransferIcon::Error : TransferIcon::Replacing);
    return SendResult::Refused;
  }
  if (!SendAudioFile(context, path, metadata.info, n)) {
    run.Failed();
    return SendResult::Failed;
  }
  run.SetState(n, "Done", TransferIcon::Done);
  run.Succeeded(n);
  return SendResult::Sent;
}

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
  return run.RunRows([&](std::size_t n) { SendOne(context, run, items[n], n, sent); });
}

TransferOutcome CopySelectedFilesToNjb(TransferContext& context) {
  catalogue::Application& app = context.app;
  const auto list = catalogue::ListOfCurrentPage(app);
  std::vector<SendItem> items;
  bool playerRow = false;
  if (list) {
    for (const catalogue::TrackRecord& row : catalogue::Rows(app, *list)) {
      if (!row.selected) continue;
      playerRow = playerRow || catalogue::IsPlayerRow(row, app.columnMap);
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
