#include "device/quickcopy/SendDataFile.h"

#include <algorithm>

#include "catalogue/FillRow.h"
#include "catalogue/TextCase.h"
#include "device/content/DeviceRow.h"

namespace tonvault::device {

using catalogue::Sound;

namespace {

void Show(TransferContext& context, std::size_t row, const std::string& state, TransferIcon icon) {
  context.window.SetState(row, state, icon);
}

// Deletes the data file of the same name as the policy says; false when the
// new file is not to be sent.
bool ClearExisting(TransferContext& context, const std::string& name, std::size_t row, std::vector<QuickRow>& dataRows) {
  const std::string lower = catalogue::AsciiLower(name);
  const auto existing = std::find_if(dataRows.begin(), dataRows.end(), [&](const QuickRow& data) {
    return !data.folder && data.id >= 0 && catalogue::AsciiLower(data.Name()) == lower;
  });
  if (existing == dataRows.end()) return true;
  const int policy = context.app.options.download.existingFiles;
  if (policy == static_cast<int>(ExistingFiles::ReplaceNever)) context.app.frontend.Beep(Sound::Asterisk);
  if (!ReplaceExisting(context.app.frontend, policy)) {
    Show(context, row, "File exists", TransferIcon::Exists);
    return false;
  }
  Show(context, row, "Replacing", TransferIcon::Replacing);
  if (context.session.CurrentDevice().DeleteDataFile(existing->id) != kOk) {
    Show(context, row, "Cannot replace", TransferIcon::Error);
    return false;
  }
  dataRows.erase(existing);
  return true;
}

bool TransferFailed(TransferContext& context, std::size_t row) {
  context.app.frontend.Beep(Sound::Exclamation);
  Show(context, row, "ERROR (on transfer)", TransferIcon::Error);
  return false;
}

}  // namespace

bool SendDataFile(TransferContext& context, const std::string& path, std::int64_t size, std::size_t row,
                  std::vector<QuickRow>& dataRows) {
  if (!context.session.LibraryPresent()) return false;
  Show(context, row, "Transfering", TransferIcon::Transferring);
  DataInfo info;
  info.fileName = catalogue::NameOf(path);
  info.fileSize = size;
  if (!ClearExisting(context, info.fileName, row, dataRows)) return false;
  int id = 0;
  if (context.session.CurrentDevice().SendDataFile(path, info, id) != kOk) return TransferFailed(context, row);
  if (WaitForTransfer(context, context.app.transferToPlayerInProgress) != kOk) return TransferFailed(context, row);
  info.id = context.session.LastSentId() != 0 ? context.session.LastSentId() : id;
  QuickRow added;
  DataRow(info, true, added);
  dataRows.push_back(std::move(added));
  context.session.PauseDevice();
  return true;
}

}  // namespace tonvault::device
