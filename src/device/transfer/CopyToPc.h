#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "device/transfer/TransferRun.h"

namespace tonvault::device {

// Called after each track that arrived, with its place in the IDs and the
// path it was saved as.
using ReceivedHook = std::function<void(std::size_t item, const std::string& target)>;

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
