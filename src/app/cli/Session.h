#pragma once

#include <iostream>
#include <string>

#include "catalogue/Application.h"
#include "cli/ConsoleFrontend.h"
#include "views/Views.h"

namespace tonvault::cli {

// What every command works with: the program state behind a console
// frontend, with the view builder installed as the window installs it.
struct Session {
  Session() {
    frontend.Attach(app);
    app.viewBuilder = &builder;
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Loads a catalogue file into FILES; false (the reader has said why) when
  // it cannot be read.
  bool Load(const std::string& path);

  ConsoleFrontend frontend{std::cerr};
  catalogue::Application app{frontend};
  views::ViewsBuilder builder;
};

}  // namespace tonvault::cli
