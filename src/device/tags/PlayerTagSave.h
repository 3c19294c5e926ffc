#pragma once

#include <cstddef>
#include <string>

#include "catalogue/Application.h"
#include "device/content/PlayerContent.h"
#include "device/session/DeviceSession.h"

namespace tonvault::device {

// The editor's values for one player track (its version-2 fields).
struct PlayerTagValues {
  std::string title, artist, album, year, comment, track, genre;
};

// Empty names become what the player needs: an empty Title the current date
// and time, an empty Album or Artist "<Unknown>", an empty Genre "(None)".
// Blanks around every value are dropped.
void CompletePlayerTagValues(PlayerTagValues& values);

// Writes `values` to the player track of row `row` of `source` (a loaded
// player row), then the table and both lists follow. Refused, with its
// message, when another track already has the new artist, title and album.
// `values` receives the replacements of CompletePlayerTagValues. Returns
// whether the player is still ready.
bool SavePlayerTags(catalogue::Application& app, DeviceSession& session, PlayerContent& content,
                    catalogue::ListId source, std::size_t row, PlayerTagValues& values);

}  // namespace tonvault::device
