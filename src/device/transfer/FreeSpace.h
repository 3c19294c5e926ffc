#pragma once

#include <cstdint>
#include <optional>

#include "device/transfer/TransferContext.h"

namespace tonvault::device {

// The megabytes the player would keep free after a file of `fileSize`
// bytes, after showing them in the free-space bar; nothing when the player
// cannot tell (it has gone away).
std::optional<std::int64_t> RestMegabytes(TransferContext& context, std::int64_t fileSize);

// The free megabytes a send must leave: "Minimal free space" on the
// Jukebox, at least 1 MB on the Nomad II.
std::int64_t MinimalFreeMegabytes(const TransferContext& context);

}  // namespace tonvault::device
