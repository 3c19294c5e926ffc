#pragma once

#include "cli/Commands.h"

namespace tonvault::cli {

// tonvault-cli player update-tags CATALOGUE.tvd [--player WHERE] [--dry-run]:
// the arguments after "update-tags".
int PlayerUpdateTags(const Arguments& arguments);

}  // namespace tonvault::cli
