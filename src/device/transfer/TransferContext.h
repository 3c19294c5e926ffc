#pragma once

#include "catalogue/Application.h"
#include "device/content/PlayerContent.h"
#include "device/session/DeviceSession.h"
#include "device/transfer/TransferWindow.h"

namespace tonvault::device {

// What every transfer works with: the program's state (its frontend and
// options), the player session, the player's track table and the Transfer
// Status window.
struct TransferContext {
  catalogue::Application& app;
  DeviceSession& session;
  PlayerContent& content;
  TransferWindow& window;
};

// The " Existing Files " choices, as the settings keep them; the fourth is
// never stored and reads back as Ask.
enum class ExistingFiles { ReplaceAlways = 0, ReplaceNever = 1, Ask = 2, ReplaceThisSession = 3 };

// Whether a file already there is replaced: by the policy, asking "Replace
// file ?" for Ask.
bool ReplaceExisting(catalogue::Frontend& frontend, int policy);

// Waits while `inProgress` is set, sleeping "CPU sleep on transfer" ms and
// pumping between polls, so the window, its Stop button and the player's
// events stay live. The completion event (or the player's removal) clears
// the flag. False when the transfer failed (a status above 0).
bool WaitForTransfer(TransferContext& context, bool& inProgress);

}  // namespace tonvault::device
