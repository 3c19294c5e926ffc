#pragma once

#include <sstream>

#include "catalogue/Application.h"
#include "cli/ConsoleFrontend.h"

namespace tonvault::bench {

// The program state behind a console frontend whose messages go nowhere:
// the commands run as in the headless tool, and the figures stay readable.
struct QuietSession {
  QuietSession() { frontend.Attach(app); }
  QuietSession(const QuietSession&) = delete;
  QuietSession& operator=(const QuietSession&) = delete;

  std::ostringstream messages;
  cli::ConsoleFrontend frontend{messages};
  catalogue::Application app{frontend};
};

}  // namespace tonvault::bench
