#include "device/transfer/ReceiveFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include "catalogue/FillRow.h"
#include "device/transfer/UpdateReceivedTags.h"
#include "files/OpenFile.h"
#include "files/RenameFile.h"

namespace tonvault::device {

using catalogue::Sound;

namespace {

constexpr const char* kCannotReplace = "Can not replace (write protected ?)";

bool Exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

// A name in the target's folder that nothing has yet, ending like the
// target so the tag writers see the same kind of file.
std::string ReceivingName(const std::string& target) {
  static unsigned counter = 0;
  const std::string base = catalogue::FolderOf(target) + ".tonvault-receive-" + std::to_string(::getpid()) + "-";
  const std::string extension = catalogue::LowerExtension(target);
  std::string name;
  do {
    name = base + std::to_string(++counter) + extension;
  } while (Exists(name));
  return name;
}

// A file that is there and may be replaced: a regular file the user may write.
bool Replaceable(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && !files::IsWriteProtected(path, info);
}

std::string ReceiveErrorText(Status status) {
  switch (status) {
    case kCopyProtected: return "ERROR (copy protected)";
    case kDiskFull: return "ERROR (Disk full)";
    default: return "ERROR (on transfer)";
  }
}

void Refuse(TransferContext& context, std::size_t row, const std::string& text, TransferIcon icon) {
  context.app.frontend.Beep(Sound::Exclamation);
  context.window.SetState(row, text, icon);
}

void Discard(const std::string& path) {
  if (Exists(path)) files::RemoveFile(path);
}

}  // namespace

bool ReceiveFile(TransferContext& context, int id, const std::string& target, bool isAudio, std::size_t row,
                 const DeviceTrack& data, std::string& stateText) {
  if (!context.session.LibraryPresent()) return false;
  catalogue::Application& app = context.app;
  if (context.content.Table().DeviceTableStale()) {
    context.window.SetState(row, "Preparing", TransferIcon::Preparing);
    context.content.BuildDeviceTrackTable();
    catalogue::ShowTimeEstimate(app, 0, 0);
  }
  context.window.SetState(row, "Transfering", TransferIcon::Transferring);
  stateText = "Done";
  const bool replacing = Exists(target);
  if (replacing) {
    if (!ReplaceExisting(app.frontend, app.options.upload.existingFiles)) {
      Refuse(context, row, "File exists", TransferIcon::Exists);
      return false;
    }
    if (!Replaceable(target)) {
      Refuse(context, row, kCannotReplace, TransferIcon::Exists);
      return false;
    }
    stateText = "Replaced";
    context.window.SetState(row, "Transfering", TransferIcon::Replacing);
  }
  const std::string receiving = ReceivingName(target);
  Device& device = context.session.CurrentDevice();
  const Status status = isAudio ? device.ReceiveTrack(id, receiving) : device.ReceiveDataFile(id, receiving);
  if (status != kOk) {
    Discard(receiving);
    Refuse(context, row, ReceiveErrorText(status), TransferIcon::Error);
    return false;
  }
  bool received = WaitForTransfer(context, app.transferFromPlayerInProgress);
  if (!received) {
    Refuse(context, row, "ERROR (Disk full ?)", TransferIcon::Error);
  } else {
    if (isAudio) UpdateReceivedTags(receiving, target, data, app.options);
    const files::FileStatus placed =
        replacing ? files::MoveFile(receiving, target, true) : files::RenameExclusive(receiving, target);
    received = !placed;
    if (placed) Refuse(context, row, replacing ? kCannotReplace : "File exists", TransferIcon::Exists);
  }
  if (!received) Discard(receiving);
  context.session.PauseDevice();
  return received;
}

}  // namespace tonvault::device
