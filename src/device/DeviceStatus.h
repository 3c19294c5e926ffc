#pragma once

#include <string>

namespace tonvault::device {

// The status every device operation ends with: 0 success, else an error
// code of the player. The codes below are the ones the program acts on;
// a backend passes any other code of its player through unchanged.
using Status = int;

inline constexpr Status kOk = 0;
inline constexpr Status kFailed = 1;              // the operation failed for a reason of its own
inline constexpr Status kNotFound = 16;           // no track, file or playlist with that ID
inline constexpr Status kCopyProtected = 24;      // the track may not be copied from the player
inline constexpr Status kFileError = 66;          // a file on the computer could not be read or written
inline constexpr Status kBusy = 128;              // the player is busy; try again
inline constexpr Status kDiskFull = 144;          // no room left on the player
inline constexpr Status kRemoved = 260;           // the player was disconnected
inline constexpr Status kEndOfList = 300;         // FindNext past the last entry
inline constexpr Status kNotOpen = 301;           // no device open
// Our own: this player (or this backend) cannot do that at all. Never a
// pretended success.
inline constexpr Status kNotSupported = 1000;
// Our own: the player's storage is read-only (a locked card, a read-only
// mount), so nothing can be changed on it.
inline constexpr Status kReadOnly = 1001;

// A plain sentence for a status, for messages and logs.
std::string StatusText(Status status);

}  // namespace tonvault::device
