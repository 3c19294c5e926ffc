#pragma once

#include "cli/Commands.h"

namespace tonvault::cli {

// tonvault-cli player send FILE... [OPTIONS]: the arguments after "send".
int PlayerSend(const Arguments& arguments);
// tonvault-cli player get ID... -o DIR [OPTIONS]: the arguments after "get".
int PlayerGet(const Arguments& arguments);

}  // namespace tonvault::cli
