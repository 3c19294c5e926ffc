#pragma once

#include "cli/Commands.h"

namespace tonvault::cli {

// tonvault-cli player playlists | playlist-save DIR | playlist-load FILE...
// [--player WHERE]: the arguments from the subcommand on.
int PlayerPlaylists(const Arguments& arguments);

}  // namespace tonvault::cli
