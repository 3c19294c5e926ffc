#pragma once

#include <string>
#include <vector>

#include "device/DeviceStatus.h"

struct njb_struct;

namespace tonvault::device {

// libnjb reports a failure as -1 and a stack of messages. The status is
// read from the messages: a busy or timed-out player is kBusy (worth a
// retry), a full disk kDiskFull, a refused transfer kCopyProtected, a file
// on the computer that could not be read or written kFileError, a player
// that went away kRemoved; anything else kFailed.
Status StatusFromNjbMessages(const std::vector<std::string>& messages);

// Takes the pending messages off a device's error stack.
std::vector<std::string> TakeNjbMessages(njb_struct* njb);

}  // namespace tonvault::device
