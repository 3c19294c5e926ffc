#include "cli/PlayerSyncCommand.h"

#include <charconv>
#include <iostream>
#include <sstream>

#include "cli/CompareModes.h"
#include "cli/JsonLines.h"
#include "cli/Session.h"
#include "device/Backends.h"
#include "device/content/PlayerContent.h"
#include "device/session/HeadlessHost.h"
#include "device/sync/Synchronization.h"

namespace tonvault::cli {
namespace {

constexpr const char* kUsage =
    "Usage: tonvault-cli player sync CATALOGUE.tvd [--player WHERE] [--criteria album,artist,title,...]\n"
    "          [--mode title=80%] [--length-tolerance SECONDS] [--size-tolerance KB] [--show pc,both,njb,multi]\n"
    "Criteria (default album,artist,title): album artist title filename track length filesize codec genre year comment\n"
    "Modes (album, artist, title, filename): \"Case sen.\", \"Case insen.\", \"In (c sens)\", \"In (c insens)\",\n"
    "  \"90 %\" ... \"50 %\" (also written 80%), or their index 0..8\n"
    "--show (default all four): pc \"Only on PC\", both \"PC and NJB\", njb \"Only on NJB\", multi \"Multiple match\"\n";

using catalogue::SyncOptions;

// Sets the flags named in the comma-separated `list` (and clears the
// others); false when a name is unknown.
template <std::size_t N>
bool SetFlags(SyncOptions& o, const std::string& list, const std::pair<const char*, bool SyncOptions::*> (&names)[N]) {
  for (const auto& [name, flag] : names) o.*flag = false;
  std::stringstream stream(list);
  for (std::string word; std::getline(stream, word, ',');) {
    bool known = false;
    for (const auto& [name, flag] : names) {
      if (word == name) o.*flag = known = true;
    }
    if (!known) return false;
  }
  return true;
}

bool SetCriteria(SyncOptions& o, const std::string& list) {
  const std::pair<const char*, bool SyncOptions::*> names[] = {
      {"album", &SyncOptions::album},   {"artist", &SyncOptions::artist},     {"title", &SyncOptions::title},
      {"filename", &SyncOptions::fileName}, {"track", &SyncOptions::track},   {"length", &SyncOptions::length},
      {"filesize", &SyncOptions::fileSize}, {"codec", &SyncOptions::codec},   {"genre", &SyncOptions::genre},
      {"year", &SyncOptions::year},     {"comment", &SyncOptions::comment}};
  return SetFlags(o, list, names);
}

bool SetShown(SyncOptions& o, const std::string& list) {
  const std::pair<const char*, bool SyncOptions::*> names[] = {{"pc", &SyncOptions::onlyOnPc},
                                                               {"both", &SyncOptions::onBoth},
                                                               {"njb", &SyncOptions::onlyOnNjb},
                                                               {"multi", &SyncOptions::multipleMatch}};
  return SetFlags(o, list, names);
}

bool SetMode(SyncOptions& o, const std::string& assignment) {
  const std::size_t equals = assignment.find('=');
  const auto mode = equals == std::string::npos ? std::nullopt : CompareModeOf(assignment.substr(equals + 1));
  if (!mode) return false;
  const std::string column = assignment.substr(0, equals);
  if (column == "album") o.albumMode = *mode;
  else if (column == "artist") o.artistMode = *mode;
  else if (column == "title") o.titleMode = *mode;
  else if (column == "filename") o.fileNameMode = *mode;
  else return false;
  return true;
}

bool SetNumber(int& value, const std::string& text, int highest) {
  int number = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size() || number < 0 || number > highest) return false;
  value = number;
  return true;
}

std::string SideJson(const device::SideTexts& side) {
  static constexpr const char* kKeys[device::kSideColumns] = {"album",    "artist", "title", "track",
                                                              "length",   "filesize", "codec", "genre",
                                                              "year",     "comment", "filename"};
  JsonObject object;
  for (int i = 0; i < device::kSideColumns; ++i) object.Add(kKeys[i], side[static_cast<std::size_t>(i)]);
  return object.Line();
}

std::string LineJson(const device::SyncEntry& entry) {
  JsonObject object;
  object.Add("category", device::CategoryCaption(entry.category));
  if (entry.category != device::SyncCategory::OnlyOnNjb) object.AddJson("pc", SideJson(entry.pc));
  if (entry.category != device::SyncCategory::OnlyOnPc) object.AddJson("njb", SideJson(entry.player));
  return object.Line();
}

}  // namespace

int PlayerSync(const Arguments& arguments) {
  Session session;
  SyncOptions& o = session.app.options.sync;
  o.onlyOnPc = o.onBoth = o.onlyOnNjb = o.multipleMatch = true;
  device::PlayerAddress where;
  std::string catalogueFile;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    bool ok = true;
    if (a == "--player" && hasValue) {
      const auto parsed = device::ParsePlayerAddress(arguments[++i]);
      ok = parsed.has_value();
      if (ok) where = *parsed;
    } else if (a == "--criteria" && hasValue) ok = SetCriteria(o, arguments[++i]);
    else if (a == "--mode" && hasValue) ok = SetMode(o, arguments[++i]);
    else if (a == "--length-tolerance" && hasValue) ok = SetNumber(o.lengthTolerance, arguments[++i], 120);
    else if (a == "--size-tolerance" && hasValue) ok = SetNumber(o.fileSizeTolerance, arguments[++i], 10000);
    else if (a == "--show" && hasValue) ok = SetShown(o, arguments[++i]);
    else if (catalogueFile.empty() && a.rfind("-", 0) != 0) catalogueFile = a;
    else ok = false;
    if (!ok) {
      std::cerr << "tonvault-cli player sync: cannot use " << a << "\n" << kUsage;
      return 2;
    }
  }
  if (catalogueFile.empty()) {
    std::cerr << kUsage;
    return 2;
  }
  if (!session.Load(catalogueFile)) return 1;
  device::HeadlessHost host;
  device::DeviceSession player(session.app, host, [&where] { return device::FindBackends(where); });
  device::PlayerContent content(session.app, player);
  device::Synchronization sync(session.app, player, content);
  sync.StartCompare();
  session.frontend.FinishProgressLine();
  player.StopDevice(true, false);
  if (content.Table().DeviceTableStale()) return 1;
  for (const device::SyncLine& line : sync.Lines()) {
    std::cout << LineJson(sync.Array()[static_cast<std::size_t>(line.entry)]) << '\n';
  }
  return 0;
}

}  // namespace tonvault::cli
