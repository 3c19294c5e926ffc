#include <iostream>

#include <cstdlib>

#include "audio/Genres.h"
#include "catalogue/TagWriting.h"
#include "cli/Commands.h"
#include "cli/Session.h"
#include "cli/ConsoleFrontend.h"

namespace tonvault::cli {

namespace {

constexpr const char* kUsage =
    "Usage: tonvault-cli tag FILE... [--title T] [--artist A] [--album B] [--year Y] [--comment C]\n"
    "                       [--track N] [--genre G] [--v1] [--v2] [--keep-old] [--remove-v1]\n"
    "                       [--remove-v2] [--keep-date]\n"
    "Writes the ID3v2 tag (the default) and/or the ID3v1 tag of each file.\n";

}  // namespace

// tonvault-cli tag: the tag writers of the ID3 editor, for scripts.
int TagCommand(const Arguments& arguments) {
  Session session;
  catalogue::Application& app = session.app;
  audio::Id3v2TagFields fields;
  bool v1 = false, v2 = false, removeV1 = false, removeV2 = false;
  std::vector<std::string> files;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    auto value = [&](std::string& target) {
      if (i + 1 >= arguments.size()) return false;
      target = arguments[++i];
      return true;
    };
    bool ok = true;
    if (a == "--title") ok = value(fields.title);
    else if (a == "--artist") ok = value(fields.artist);
    else if (a == "--album") ok = value(fields.album);
    else if (a == "--year") ok = value(fields.year);
    else if (a == "--comment") ok = value(fields.comment);
    else if (a == "--track") ok = value(fields.track);
    else if (a == "--genre") ok = value(fields.genre);
    else if (a == "--v1") v1 = true;
    else if (a == "--v2") v2 = true;
    else if (a == "--keep-old") app.options.id3.keepOldContent = true;
    else if (a == "--remove-v1") removeV1 = true;
    else if (a == "--remove-v2") removeV2 = true;
    else if (a == "--keep-date") app.options.id3.keepOriginalFileDate = true;
    else if (a.rfind("--", 0) == 0) ok = false;
    else files.push_back(a);
    if (!ok) {
      std::cerr << "tonvault-cli tag: " << a << (a.rfind("--", 0) == 0 ? " is not an option or lacks its value" : "")
                << "\n" << kUsage;
      return 2;
    }
  }
  if (files.empty()) {
    std::cerr << kUsage;
    return 2;
  }
  if (!v1 && !removeV1 && !removeV2) v2 = true;
  int status = 0;
  for (const std::string& file : files) {
    bool ok = true;
    if (v2 || removeV2) ok = catalogue::WriteId3v2(app, file, fields, removeV2) && ok;
    if (v1 || removeV1) {
      audio::Id3v1Fields tag{fields.title, fields.artist, fields.album, fields.comment, fields.year, 255, 0};
      if (const auto genre = audio::GenreNumber(fields.genre)) tag.genre = *genre;
      if (!fields.track.empty()) tag.track = std::atoi(fields.track.c_str());
      ok = catalogue::WriteId3v1(app, file, tag, removeV1) && ok;
    }
    std::cout << file << (ok ? ": written" : ": FAILED") << '\n';
    if (!ok) status = 1;
  }
  return status;
}

}  // namespace tonvault::cli
