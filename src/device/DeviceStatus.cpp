#include "device/DeviceStatus.h"

namespace tonvault::device {

std::string StatusText(Status status) {
  switch (status) {
    case kOk: return "Done.";
    case kFailed: return "The player could not do it.";
    case kNotFound: return "The player has no such entry.";
    case kCopyProtected: return "The track is copy protected.";
    case kFileError: return "A file on the computer could not be read or written.";
    case kBusy: return "The player is busy.";
    case kDiskFull: return "The player's disk is full.";
    case kRemoved: return "The player was disconnected.";
    case kEndOfList: return "There are no more entries.";
    case kNotOpen: return "No player is open.";
    case kNotSupported: return "This player cannot do that.";
    case kReadOnly: return "The player's storage is read-only; nothing can be changed on it.";
    default: return "The player reported error " + std::to_string(status) + ".";
  }
}

}  // namespace tonvault::device
