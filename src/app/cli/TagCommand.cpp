#include <iostream>

#include <cstdlib>
#include <optional>

#include "audio/Genres.h"
#include "audio/Id3v1.h"
#include "audio/Id3v2Tag.h"
#include "audio/TextEncoding.h"
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
    "Writes the ID3v2 tag of each file; --v1 writes the ID3v1 tag too. Fields\n"
    "not given keep the values the file's tag has; give \"\" to empty a field.\n"
    "ID3v1 holds the characters of one code page only (--codepage, default\n"
    "Windows-1252): others are written as '?', with a warning.\n";

// The fields named on the command line; the others are left as they are.
struct GivenFields {
  std::optional<std::string> title, artist, album, comment, year, track, genre;
};

void Override(const std::optional<std::string>& given, std::string& field) {
  if (given) field = *given;
}

audio::Id3v2TagFields Id3v2FieldsFor(const std::string& file, const GivenFields& given) {
  const audio::Id3v2Values current = audio::ReadId3v2Tag(file);
  audio::Id3v2TagFields fields{current.title,   current.artist, current.album, current.comment,
                               current.year,    current.track,  current.genre};
  Override(given.title, fields.title);
  Override(given.artist, fields.artist);
  Override(given.album, fields.album);
  Override(given.comment, fields.comment);
  Override(given.year, fields.year);
  Override(given.track, fields.track);
  Override(given.genre, fields.genre);
  return fields;
}

audio::Id3v1Fields Id3v1FieldsFor(const std::string& file, const GivenFields& given) {
  const audio::Id3v1Tag current = audio::ReadId3v1Tag(file);
  audio::Id3v1Fields tag{current.title, current.artist, current.album, current.comment, current.year,
                         current.genre, current.track > 0 ? current.track : 0};
  Override(given.title, tag.title);
  Override(given.artist, tag.artist);
  Override(given.album, tag.album);
  Override(given.comment, tag.comment);
  Override(given.year, tag.year);
  if (given.genre) tag.genre = audio::GenreNumber(*given.genre).value_or(255);
  if (given.track) tag.track = std::atoi(given.track->c_str());
  return tag;
}

// Warns on standard error about the ID3v1 values that lose characters:
// the tag holds the legacy code page only, and a character it lacks becomes '?'.
void WarnAboutLostCharacters(const std::string& file, const audio::Id3v1Fields& tag) {
  const std::pair<const char*, const std::string*> fields[] = {
      {"title", &tag.title}, {"artist", &tag.artist}, {"album", &tag.album}, {"comment", &tag.comment},
      {"year", &tag.year}};
  for (const auto& [name, value] : fields) {
    const std::string stored = audio::LegacyToUtf8(audio::Utf8ToLegacy(*value));
    if (stored != *value) {
      std::cerr << "tonvault-cli tag: " << file << ": the ID3v1 " << name << " cannot hold \"" << *value
                << "\" (" << audio::CodePageName(audio::LegacyCodePage()) << " only); it is written as \"" << stored
                << "\"\n";
    }
  }
}

}  // namespace

// tonvault-cli tag: the tag writers of the ID3 editor, for scripts.
int TagCommand(const Arguments& arguments) {
  Session session;
  catalogue::Application& app = session.app;
  GivenFields given;
  bool v1 = false, v2 = false, removeV1 = false, removeV2 = false;
  std::vector<std::string> files;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    auto value = [&](std::optional<std::string>& target) {
      if (i + 1 >= arguments.size()) return false;
      target = arguments[++i];
      return true;
    };
    bool ok = true;
    if (a == "--title") ok = value(given.title);
    else if (a == "--artist") ok = value(given.artist);
    else if (a == "--album") ok = value(given.album);
    else if (a == "--year") ok = value(given.year);
    else if (a == "--comment") ok = value(given.comment);
    else if (a == "--track") ok = value(given.track);
    else if (a == "--genre") ok = value(given.genre);
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
  // ID3v2 is always written unless a tag is being removed; --v1 adds ID3v1.
  if (!removeV1 && !removeV2) v2 = true;
  int status = 0;
  for (const std::string& file : files) {
    bool ok = true;
    if (v2 || removeV2) ok = catalogue::WriteId3v2(app, file, Id3v2FieldsFor(file, given), removeV2) && ok;
    if (v1 || removeV1) {
      const audio::Id3v1Fields tag = Id3v1FieldsFor(file, given);
      if (!removeV1) WarnAboutLostCharacters(file, tag);
      ok = catalogue::WriteId3v1(app, file, tag, removeV1) && ok;
    }
    std::cout << file << (ok ? ": written" : ": FAILED") << '\n';
    if (!ok) status = 1;
  }
  return status;
}

}  // namespace tonvault::cli
