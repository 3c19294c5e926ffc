#include "cli/PlayerPlaylistsCommand.h"

#include <iostream>
#include <optional>

#include "catalogue/TextFormats.h"
#include "cli/JsonLines.h"
#include "cli/Session.h"
#include "device/Backends.h"
#include "device/content/PlayerContent.h"
#include "device/playlists/PlaylistManager.h"
#include "device/session/HeadlessHost.h"

namespace tonvault::cli {
namespace {

constexpr const char* kPlaylistsUsage =
    "Usage: tonvault-cli player playlists [--player WHERE]\n"
    "       tonvault-cli player playlist-save DIR [--player WHERE]\n"
    "       tonvault-cli player playlist-load FILE.TVP... [--player WHERE]\n";

// A playlist as a JSON line: its ID, name, track count, length and the IDs
// of its tracks in order.
std::string PlaylistJson(device::PlaylistManager& manager, std::size_t row) {
  manager.SelectPlaylist(row);
  const device::ListRow& playlist = manager.Lists().playlists[row];
  std::string ids = "[";
  for (const device::ListRow& track : manager.Lists().tracks) {
    ids += (ids.size() > 1 ? ", " : "") + std::to_string(device::RowId(track));
  }
  JsonObject object;
  object.Add("id", static_cast<long long>(device::RowId(playlist)));
  object.Add("name", playlist.texts[device::kPlaylistName]);
  object.Add("tracks", static_cast<long long>(manager.Lists().tracks.size()));
  object.Add("length", playlist.texts[device::kPlaylistLength]);
  object.AddJson("trackIds", ids + "]");
  return object.Line();
}

}  // namespace

int PlayerPlaylists(const Arguments& arguments) {
  const std::string sub = arguments.front();
  device::PlayerAddress where;
  std::vector<std::string> paths;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    std::optional<device::PlayerAddress> parsed;
    if (arguments[i] == "--player" && i + 1 < arguments.size() &&
        (parsed = device::ParsePlayerAddress(arguments[++i]))) {
      where = *parsed;
    } else if (sub != "playlists" && !arguments[i].starts_with("--")) {
      paths.push_back(arguments[i]);
    } else {
      std::cerr << kPlaylistsUsage;
      return 2;
    }
  }
  if ((sub == "playlist-save" && paths.size() != 1) || (sub == "playlist-load" && paths.empty())) {
    std::cerr << kPlaylistsUsage;
    return 2;
  }
  Session session;
  session.app.currentPage = catalogue::Page::Playlists;
  device::HeadlessHost host;
  device::DeviceSession player(session.app, host, [&where] { return device::FindBackends(where); });
  device::PlayerContent content(session.app, player);
  device::PlaylistManager manager(session.app, player, content);
  if (sub == "playlist-save") {
    session.frontend.AnswerDialogs(paths.front(), {});
    manager.SaveAllToPc();
  } else if (sub == "playlist-load") {
    session.frontend.AnswerDialogs(std::nullopt, paths);
    manager.LoadFromPc();
  } else {
    manager.LoadPlaylists();
    for (std::size_t row = 0; row < manager.Lists().playlists.size(); ++row) {
      std::cout << PlaylistJson(manager, row) << '\n';
    }
  }
  session.frontend.FinishProgressLine();
  const bool opened = player.LibraryPresent();
  player.StopDevice(true, false);
  return opened && session.frontend.Errors() == 0 ? 0 : 1;
}

}  // namespace tonvault::cli
