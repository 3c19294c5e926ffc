#pragma once

#include <functional>

#include "catalogue/Application.h"
#include "device/content/DeviceTrackTable.h"
#include "device/session/DeviceSession.h"

namespace tonvault::device {

// The player's content in the program: its tracks as rows of FILES and as
// the DeviceTrackTable, deleting tracks on the player, the library's cache
// and the Nomad II's two memories.
class PlayerContent {
 public:
  static constexpr int kInternalMemory = 0;
  static constexpr int kExternalMemory = 1;

  PlayerContent(catalogue::Application& app, DeviceSession& session) : app_(app), session_(session) {}

  DeviceTrackTable& Table() { return table_; }

  // "&Read Files on NJB": every track of the player as a row of FILES.
  void ReadFilesOnNjb();
  // Reads the table again from the player; false when the player could not
  // be read. Leaves the player open for the caller's session to stop.
  bool BuildDeviceTrackTable();
  // Rebuilds the table when it is stale; false when that failed.
  bool EnsureDeviceTable();
  // Appends a row of FILES for a track that just arrived on the player.
  void AddDeviceRow(const AudioInfo& info);
  // "Delete selected files on NJB": the selected player rows of the list
  // shown, on the player and in both lists.
  void DeleteSelectedFilesOnNjb();
  // "&Rebuild audio cache".
  void RebuildAudioCache();

  // The " Nomad II Memory " choice: switches the player to that memory and
  // reads its tracks (not while the program starts).
  void ChooseNomadMemory(int memory);
  int ChosenMemory() const { return chosenMemory_; }
  void SetStartingUp(bool startingUp) { startingUp_ = startingUp; }
  // Refills the device side of the Quick Copy page after a memory switch.
  std::function<void()> refillQuickCopy;

 private:
  int ActiveMemory();
  // The text refusing the first selected row the player cannot delete, or
  // empty when every selected row can go.
  std::string DeleteRefusal(const std::vector<catalogue::TrackRecord>& rows) const;
  // Deletes the selected rows bottom-up; false when a deletion failed.
  void DeleteOnPlayer(catalogue::ListId list, std::size_t selected);

  catalogue::Application& app_;
  DeviceSession& session_;
  DeviceTrackTable table_;
  int chosenMemory_ = kInternalMemory;
  bool startingUp_ = false;
};

}  // namespace tonvault::device
