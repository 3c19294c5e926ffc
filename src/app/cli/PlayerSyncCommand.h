#pragma once

#include "cli/Commands.h"

namespace tonvault::cli {

// tonvault-cli player sync CATALOGUE.tvd [--player WHERE] [criteria]
// [--show pc,both,njb,multi]: the arguments after "sync".
int PlayerSync(const Arguments& arguments);

}  // namespace tonvault::cli
