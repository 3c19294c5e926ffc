#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "device/transfer/TransferMetadata.h"
#include "device/transfer/TransferRun.h"

namespace tonvault::device {

// Called after each file that arrived on the player, with its place in the
// items and the metadata it was sent with (its `id` the new track's ID).
using SentHook = std::function<void(std::size_t item, const AudioInfo& sent)>;

enum class SendResult { Sent, Refused, Failed };

// One audio file of a running transfer in row `n`: refused when it is
// corrupt, empty, without a length or would leave too little room on the
// player, else sent with SendAudioFile. A failed send counts as an error
// of the run; a refusal only shows in its row.
SendResult CheckAndSendAudio(TransferContext& context, TransferRun& run, const std::string& path,
                             const TransferMetadata& metadata, std::size_t n);

// The transfer to the player of the items, in order, in the Transfer
// Status window: a missing file refuses the whole transfer before anything
// is sent; each file is checked (sound, not empty, enough room left on the
// player) and sent with SendAudioFile. Per-file failures show in the rows
// and the next file is still tried.
TransferOutcome CopyFilesToNjb(TransferContext& context, const std::vector<SendItem>& items,
                               const SentHook& sent = {});

// "Copy selected files from PC to NJB": the selected rows of the list shown.
TransferOutcome CopySelectedFilesToNjb(TransferContext& context);

}  // namespace tonvault::device
