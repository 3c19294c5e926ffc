#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "device/quickcopy/QuickCopyRows.h"
#include "device/transfer/TransferContext.h"

namespace tonvault::device {

// Sends a data file to the player, showing its state in row `row` of the
// Transfer Status window. A data file of the same name (letter case
// ignored) among `dataRows` is the one already there, handled by the
// " Existing Files " policy; its row goes when it was deleted. On success
// the new file's row is appended to `dataRows`.
bool SendDataFile(TransferContext& context, const std::string& path, std::int64_t size, std::size_t row,
                  std::vector<QuickRow>& dataRows);

}  // namespace tonvault::device
