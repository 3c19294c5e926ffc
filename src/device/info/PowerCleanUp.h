#pragma once

#include "catalogue/Application.h"
#include "device/content/PlayerContent.h"
#include "device/session/DeviceSession.h"

namespace tonvault::device {

// "Power &CleanUp": deletes the tracks the player still holds but no longer
// lists, by trying every ID up to one and a half times the highest listed
// one that the track table does not know. Needs external power. At the end
// the player's rows leave FILES (they may be out of date now).
void PowerCleanUp(catalogue::Application& app, DeviceSession& session, PlayerContent& content);

// The report at the end: how many tracks were deleted and the space won.
std::string CleanUpReport(int deleted, std::int64_t recoveredKb);

}  // namespace tonvault::device
