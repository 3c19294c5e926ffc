#include "device/info/PowerCleanUp.h"

#include <algorithm>

#include "catalogue/ColumnMap.h"
#include "catalogue/LongOperation.h"
#include "catalogue/PageChange.h"
#include "catalogue/TextFormats.h"

namespace tonvault::device {

using catalogue::Ask;
using catalogue::Button;
using catalogue::MessageKind;
using catalogue::Sound;

namespace {

constexpr const char* kWarning =
    "POWER-CLEANUP should only be the last attempt to get rid of \"lost\" tracks !\n\r\r(if you have more tracks on "
    "the NJB then in Tonvault after a reboot)\n\r\rFirst you should try to delete such tracks on the NJB, with "
    "PlayCenter or\n\rwith the NJB-CleanUp function.\n\r\rBefore proceding you must connect external power to the "
    "NJB.\n\rPOWER-CLEANUP can take several hours on a 6 GByte NJB.\n\r\rI can not guarantee that there will not "
    "more be deleted than the \"lost\"\n\rtracks (e.g. Data-tracks and PlayLists).\n\r\rThis function is possibly "
    "obsolete with newer Firmwares (> 2.56).\n\r\r\rDo you really want to proceed (at your own risk) ?";

// External power or charging; false (after saying why) otherwise.
bool OnExternalPower(catalogue::Frontend& frontend, Device& device) {
  DeviceInfo info;
  if (device.GetDeviceInfo(info) != kOk) {
    Ask(frontend, Sound::Exclamation, MessageKind::Error, "Error reading DeviceInfo on NJB", {Button::Ok});
    return false;
  }
  if (info.powerSource == kPowerExternal || info.powerSource == kPowerCharging) return true;
  Ask(frontend, Sound::Hand, MessageKind::Information, "External power must be connected", {Button::Ok});
  return false;
}

int HighestId(const DeviceTrackTable& table) {
  int highest = -1;
  for (const DeviceTrack& track : table.Entries()) highest = std::max(highest, track.id);
  return highest;
}

// Tries every ID from 0 to `limit` the table does not know; returns how
// many the player deleted. Ends early when the user stops.
int DeleteLostTracks(catalogue::Application& app, Device& device, const DeviceTrackTable& table, int limit) {
  int deleted = 0;
  catalogue::LongOperation operation(
      app, {100, [&deleted](std::size_t number) { return std::to_string(deleted) + " / " + std::to_string(number); },
            1});
  const auto total = static_cast<std::size_t>(limit);
  for (int number = 0; number <= limit; ++number) {
    if (!table.HasDeviceTrack(number) && device.DeleteTrack(number) == kOk) {
      ++deleted;
      for (int beep = 0; beep < 3; ++beep) {
        if (beep > 0) app.frontend.Sleep(1000);
        app.frontend.Beep(Sound::Default);
      }
    }
    if (!operation.ItemDone(static_cast<std::size_t>(number), total)) break;
  }
  return deleted;
}

}  // namespace

std::string CleanUpReport(int deleted, std::int64_t recoveredKb) {
  std::string text = std::to_string(deleted) + "  \"lost\" files deleted.";
  if (deleted == 0) return text;
  if (recoveredKb != 0) text += "\n\r" + catalogue::FormatThousands(recoveredKb) + "  kBytes recovered.";
  return text + "\n\r\rYou should now perform\n\ra normal NJB-CleanUp.";
}

void PowerCleanUp(catalogue::Application& app, DeviceSession& session, PlayerContent& content) {
  if (Ask(app.frontend, Sound::Hand, MessageKind::Confirmation, kWarning, {Button::Yes, Button::No}) != Button::Yes) {
    return;
  }
  session.SetDeviceReady(session.StartDevice(true));
  if (!session.DeviceReady() || !OnExternalPower(app.frontend, session.CurrentDevice())) {
    session.SetDeviceReady(session.StopDevice(false, false));
    return;
  }
  app.frontend.SetStatusPanel(1, "Preparing ...");
  DeviceTrackTable& table = content.Table();
  session.SetDeviceReady(table.DeviceTableStale() ? content.BuildDeviceTrackTable() : session.StartDevice(true));
  int deleted = 0;
  std::int64_t recoveredKb = 0;
  const int highest = HighestId(table);
  if (session.DeviceReady() && highest < 0) {
    Ask(app.frontend, Sound::Hand, MessageKind::Information, "NJB is empty.", {Button::Ok});
    session.SetDeviceReady(false);
  } else if (session.DeviceReady()) {
    Device& device = session.CurrentDevice();
    std::int64_t freeBefore = 0, freeAfter = 0;
    const bool freeKnown = device.GetFreeSpace(freeBefore) == kOk;
    deleted = DeleteLostTracks(app, device, table, highest * 3 / 2);
    if (freeKnown && device.GetFreeSpace(freeAfter) == kOk) recoveredKb = freeAfter - freeBefore;
  }
  session.SetDeviceReady(session.StopDevice(true, false));
  Ask(app.frontend, Sound::Hand, MessageKind::Information, CleanUpReport(deleted, recoveredKb), {Button::Ok});
  // The player's rows may show deleted tracks now; rows of files on disk
  // are the catalogue's and stay.
  std::erase_if(app.files, [&app](const catalogue::TrackRecord& row) { return IsPlayerRow(row, app.columnMap); });
  app.frontend.ListsChanged();
  catalogue::ChangePage(app, app.currentPage);
}

}  // namespace tonvault::device
