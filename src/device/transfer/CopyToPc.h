#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "device/content/DeviceTrackTable.h"
#include "device/transfer/TransferRun.h"

namespace tonvault::device {

// Called after each track that arrived, with its place in the IDs and the
// path it was saved as.
using ReceivedHook = std::function<void(std::size_t item, const std::string& target)>;

// One file to fetch from the player: a track (its data read again from the
// table when its turn comes) or a data file, and the path to save it as.
struct ReceiveItem {
  int id = -1;
  bool isAudio = true;
  DeviceTrack data;  // a data file's name and size; a track's texts for its row
  std::string target;
};

// The item of track `id` saved into `folder` under its UploadFileName.
ReceiveItem AudioReceiveItem(TransferContext& context, int id, const std::string& folder);

// The transfer from the player of the items into `folder` (ending with the
// separator), in order, in the Transfer Status window. Per-file failures
// show in the rows and the next file is still tried.
TransferOutcome CopyItemsToPc(TransferContext& context, const std::vector<ReceiveItem>& items,
                              const std::string& folder, const ReceivedHook& received = {});

// The transfer from the player of the tracks with these IDs into `folder`
// (ending with the separator), in order, in the Transfer Status window.
// Each target name comes from UploadFileName; a track the table does not
// know shows "ERROR (File not found)". Per-file failures show in the rows
// and the next track is still tried.
TransferOutcome CopyTracksToPc(TransferContext& context, const std::vector<int>& ids, const std::string& folder,
                               const ReceivedHook& received = {});

// "Copy selected files from NJB to PC": the selected player rows of the
// list shown, into a folder the user chooses.
TransferOutcome CopySelectedFilesToPc(TransferContext& context);

}  // namespace tonvault::device
