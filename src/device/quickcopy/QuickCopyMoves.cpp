// The Quick Copy page's transfers in both directions.
#include <filesystem>

#include "catalogue/AudioHost.h"
#include "catalogue/FillRow.h"
#include "catalogue/LongOperation.h"
#include "device/quickcopy/PcFolder.h"
#include "device/quickcopy/QuickCopy.h"
#include "device/quickcopy/SendDataFile.h"
#include "device/transfer/CopyToNjb.h"
#include "device/transfer/CopyToPc.h"
#include "device/transfer/FreeSpace.h"

namespace tonvault::device {

using catalogue::Button;
using catalogue::MessageKind;
using catalogue::Sound;

namespace fs = std::filesystem;

namespace {

// One file to send: audio files carry the row's title, data files none.
struct QuickSend {
  TransferRow row;
  std::int64_t bytes = 0;
  bool audio = false;
};

std::string WithoutExtension(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

// The transfer row of a gathered file, or nothing when it is not sent.
std::optional<QuickSend> SendOf(catalogue::Application& app, const std::string& path, bool audioMode,
                                audio::ScanHost& host) {
  QuickSend send;
  send.row.fileName = path;
  if (audioMode) {
    QuickCopyFile file;
    if (!SentAsAudio(path) || !ReadQuickCopyFile(path, 0, false, app.options, host, file) || file.corrupt) {
      return std::nullopt;
    }
    send.row.album = UnknownIfEmpty(file.album);
    send.row.artist = UnknownIfEmpty(file.artist);
    send.row.title = file.title.empty() ? WithoutExtension(catalogue::NameOf(path)) : file.title;
    send.bytes = file.size;
    send.audio = true;
  } else {
    send.bytes = FileBytes(path);
    if (SentAsAudio(path) || send.bytes <= 0) return std::nullopt;
  }
  send.row.sizeKb = std::to_string(send.bytes / 1024);
  return send;
}

// What the player is told about an audio file: the names of its transfer
// row and the rest read again with the transfer's scan settings.
TransferMetadata QuickMetadata(catalogue::Application& app, const QuickSend& send) {
  catalogue::FrontendScanHost host(app);
  QuickCopyFile file;
  ReadQuickCopyFile(send.row.fileName, app.options.download.errorsTolerated, app.options.download.fullCheck,
                    app.options, host, file);
  TransferMetadata metadata;
  AudioInfo& info = metadata.info;
  info.title = send.row.title, info.artist = send.row.artist, info.album = send.row.album;
  info.genre = file.genre.empty() ? "(None)" : file.genre;
  info.comment = file.comment;
  info.bitrate = file.bitrateText;
  info.codec = file.codec;
  info.length = file.length;
  info.fileSize = file.size;
  info.year = NumberOfText(file.year);
  info.trackNumber = NumberOfText(file.track);
  info.fileName = catalogue::NameOf(send.row.fileName);
  metadata.corrupt = file.corrupt;
  return metadata;
}

void SendData(TransferContext& context, TransferRun& run, const QuickSend& send, std::size_t n,
              std::vector<QuickRow>& dataRows) {
  const std::optional<std::int64_t> restMb = RestMegabytes(context, send.bytes);
  const std::int64_t limitMb = MinimalFreeMegabytes(context);
  if (restMb && *restMb < limitMb) {
    context.app.frontend.Beep(Sound::Exclamation);
    run.SetState(n, "Remaining space below " + std::to_string(limitMb) + " MBytes", TransferIcon::Replacing);
  }
  if (!restMb || *restMb < limitMb || send.bytes <= 0 ||
      !SendDataFile(context, send.row.fileName, send.bytes, n, dataRows)) {
    run.Failed();
    return;
  }
  run.SetState(n, "Done", TransferIcon::Done);
  run.Succeeded(n);
}

}  // namespace

void QuickCopy::CopyToPlayer(const std::vector<std::size_t>& selected) {
  if (NoneSelected(selected)) return;
  catalogue::Application& app = context_.app;
  std::vector<std::string> chosen;
  for (const std::size_t row : selected) {
    const std::string path = PathOfPcRow(row);
    std::error_code error;
    if (!pcRows_[row].folder && !fs::exists(path, error)) {
      Error(path + "\n\r\r" + "Not found !");
      return;
    }
    chosen.push_back(path);
  }
  std::vector<QuickSend> sends;
  {
    catalogue::LongOperation listing(app, {});
    const std::vector<std::string> paths = GatherFiles(chosen, AudioMode(), app.options.import);
    catalogue::FrontendScanHost host(app);
    for (std::size_t i = 0; i < paths.size(); ++i) {
      if (std::optional<QuickSend> send = SendOf(app, paths[i], AudioMode(), host)) sends.push_back(*send);
      if (!listing.ItemDone(i + 1, paths.size())) return;
    }
  }
  if (sends.empty()) {
    Error("No valid files to transfer selected !");
    return;
  }
  std::vector<TransferRow> rows;
  std::vector<std::int64_t> rowKb;
  for (const QuickSend& send : sends) {
    rows.push_back(send.row);
    rowKb.push_back(send.bytes / 1024);
  }
  {
    TransferRun run(context_, rows, rowKb);
    run.RunRows([&](std::size_t n) {
      if (!sends[n].audio) {
        SendData(context_, run, sends[n], n, playerRows_);
      } else if (CheckAndSendAudio(context_, run, sends[n].row.fileName, QuickMetadata(app, sends[n]), n) ==
                 SendResult::Refused) {
        run.Failed();
      }
    });
  }
  if (context_.session.DeviceReady() && AudioMode()) ShowLevel(level_, name_);
}

std::vector<int> QuickCopy::SelectedTrackIds(const std::vector<std::size_t>& selected) const {
  std::vector<int> ids;
  bool tracks = false;
  for (const std::size_t row : selected) tracks = tracks || !playerRows_.at(row).folder;
  for (const std::size_t row : selected) {
    const QuickRow& quick = playerRows_.at(row);
    if (tracks && !quick.folder) ids.push_back(quick.id);
    if (!tracks && level_ == QuickLevel::Names) {
      const std::vector<int> named = TrackIdsOf(context_.content.Table(), group_, quick.Name());
      ids.insert(ids.end(), named.begin(), named.end());
    }
  }
  return ids;
}

void QuickCopy::CopyToPc(const std::vector<std::size_t>& selected, std::optional<std::size_t> dropRow) {
  catalogue::Application& app = context_.app;
  if (dropRow && *dropRow < pcRows_.size() && pcRows_[*dropRow].folder) {
    app.uploadFolder = PathOfPcRow(*dropRow) + "/";
  }
  if (NoneSelected(selected)) return;
  context_.session.SetDeviceReady(context_.session.StartDevice(true));
  const std::string folder = Folder();
  std::vector<ReceiveItem> items;
  if (level_ == QuickLevel::Data) {
    for (const std::size_t row : selected) {
      ReceiveItem item;
      item.id = playerRows_.at(row).id;
      item.isAudio = false;
      item.data.fileName = playerRows_[row].Name();
      item.data.fileSize = playerRows_[row].bytes;
      item.target = folder + item.data.fileName;
      items.push_back(std::move(item));
    }
  } else {
    context_.content.EnsureDeviceTable();
    for (const int id : SelectedTrackIds(selected)) items.push_back(AudioReceiveItem(context_, id, folder));
  }
  if (items.empty()) {
    StopSession();
  } else {
    CopyItemsToPc(context_, items, folder);
  }
  FillPcPane(folder);
}

}  // namespace tonvault::device
