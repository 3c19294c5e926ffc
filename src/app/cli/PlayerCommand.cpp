#include <charconv>
#include <cstdio>
#include <iostream>
#include <set>

#include "cli/Commands.h"
#include "cli/JsonLines.h"
#include "cli/PlayerSyncCommand.h"
#include "cli/PlayerPlaylistsCommand.h"
#include "cli/PlayerTagsCommand.h"
#include "cli/PlayerTransferCommand.h"
#include "cli/RowJson.h"
#include "cli/Session.h"
#include "device/Backends.h"
#include "device/content/DeviceRow.h"
#include "device/content/PlayerContent.h"
#include "device/info/PlayerInformation.h"
#include "device/session/DeviceSession.h"
#include "device/session/HeadlessHost.h"

namespace tonvault::cli {
namespace {

constexpr const char* kPlayerUsage =
    "Usage: tonvault-cli player info|ls|rm ID... [--player folder:PATH|simulated:jukebox|simulated:nomad2|njb|auto]\n"
    "       tonvault-cli player update-tags CATALOGUE.tvd [--player WHERE] [--dry-run]\n"
    "       tonvault-cli player send FILE... [--player WHERE] [OPTIONS]\n"
    "       tonvault-cli player get ID... -o DIR [--player WHERE] [OPTIONS]\n"
    "       tonvault-cli player sync CATALOGUE.tvd [--player WHERE] [--criteria ...] [--show pc,both,njb,multi]\n"
    "       tonvault-cli player playlists | playlist-save DIR | playlist-load FILE.TVP... [--player WHERE]\n";

const char* KindName(int deviceKind) {
  switch (deviceKind) {
    case 1: return "Nomad Jukebox";
    case 2: return "Nomad II";
    default: return "none";
  }
}

int CountEntries(device::Device& device, bool tracks) {
  int id = 0, count = 0;
  device::Status status = tracks ? device.FindFirstTrack(id) : device.FindFirstDataFile(id);
  while (status == device::kOk) {
    ++count;
    status = tracks ? device.FindNextTrack(id) : device.FindNextDataFile(id);
  }
  return count;
}

// "2004-05-01 12:00:00".
std::string ClockText(const device::PlayerDateTime& clock) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", clock.year, clock.month, clock.day, clock.hour,
                clock.minute, clock.second);
  return text;
}

// What the player tells about itself besides its storage: owner, clock,
// versions, power and sound formats; what it cannot tell is left out.
void AddOwnInformation(JsonObject& object, device::Device& device, const device::DeviceInfo& info) {
  if (!info.hardware.empty()) object.Add("hardware", info.hardware);
  if (!info.serialNumber.empty()) object.Add("serialNumber", info.serialNumber);
  if (info.powerSource >= 0) object.Add("powerSource", device::PowerSourceText(info.powerSource));
  std::string owner;
  if (device.GetOwnerName(owner) == device::kOk) object.Add("owner", owner);
  device::PlayerDateTime clock;
  if (device.GetDateTime(clock) == device::kOk) object.Add("clock", ClockText(clock));
  device::SoundFormat format;
  std::string formats;
  for (device::Status status = device.FindFirstFormat(format); status == device::kOk;
       status = device.FindNextFormat(format)) {
    JsonObject entry;
    entry.Add("codec", format.codec)
        .Add("maxSampleRate", static_cast<long long>(format.maxSampleRate))
        .Add("channels", static_cast<long long>(format.channels));
    formats += (formats.empty() ? "" : ", ") + entry.Line();
  }
  if (!formats.empty()) object.AddJson("formats", "[" + formats + "]");
}

int PlayerInfo(const device::PlayerAddress& where) {
  Session session;
  device::HeadlessHost host;
  device::DeviceSession player(session.app, host, [&where] { return device::FindBackends(where); });
  if (!player.StartDevice(true)) return 1;
  device::Device& device = player.CurrentDevice();
  device::DeviceInfo info;
  device.GetDeviceInfo(info);
  device::StorageInfo storage;
  const device::Status status = device.GetStorageInfo(storage);
  JsonObject object;
  object.Add("backend", info.backend).Add("version", info.version).Add("player", info.name);
  object.Add("kind", static_cast<long long>(player.DeviceKind())).Add("kindName", KindName(player.DeviceKind()));
  if (!info.firmware.empty()) object.Add("firmware", info.firmware);
  AddOwnInformation(object, device, info);
  if (status == device::kOk) {
    object.Add("totalKB", static_cast<long long>(storage.totalKb)).Add("freeKB", static_cast<long long>(storage.freeKb));
    object.Add("audioKB", static_cast<long long>(storage.audioKb)).Add("dataKB", static_cast<long long>(storage.dataKb));
  } else {
    std::cerr << "tonvault-cli: storage: " << device::StatusText(status) << '\n';
  }
  int playlists = 0, playlistTracks = 0;
  if (device::CountPlaylists(device, playlists, playlistTracks) == device::kOk) {
    object.Add("playlists", static_cast<long long>(playlists))
        .Add("playlistTracks", static_cast<long long>(playlistTracks));
  }
  object.Add("tracks", static_cast<long long>(CountEntries(device, true)));
  object.Add("dataFiles", static_cast<long long>(CountEntries(device, false)));
  std::cout << object.Line() << '\n';
  player.StopDevice(true, false);
  return status == device::kOk ? 0 : 1;
}

// A row of the player as a JSON line: the keys of `cat` plus the track's "id".
std::string PlayerRowJson(const catalogue::TrackRecord& row, const catalogue::ColumnMap& map) {
  std::string line = RowJson(row, map);
  line.insert(line.size() - 1, ", \"id\": " + std::to_string(device::DeviceRowId(row)));
  return line;
}

// The player's tracks read into FILES as the window reads them; false when
// the player could not be read.
bool ReadPlayer(Session& session, device::DeviceSession& player, device::PlayerContent& content) {
  content.ReadFilesOnNjb();
  session.frontend.FinishProgressLine();
  return player.LibraryPresent() && !content.Table().DeviceTableStale();
}

// tonvault-cli player ls: every track of the player as a JSON line.
int PlayerList(const device::PlayerAddress& where) {
  Session session;
  device::HeadlessHost host;
  device::DeviceSession player(session.app, host, [&where] { return device::FindBackends(where); });
  device::PlayerContent content(session.app, player);
  const bool read = ReadPlayer(session, player, content);
  for (const catalogue::TrackRecord& row : session.app.files) {
    std::cout << PlayerRowJson(row, session.app.columnMap) << '\n';
  }
  player.StopDevice(true, false);
  return read ? 0 : 1;
}

// tonvault-cli player rm ID...: deletes the tracks with these IDs on the
// player, as "Delete selected files on NJB" does with their rows.
int PlayerRemove(const device::PlayerAddress& where, const std::set<int>& ids) {
  Session session;
  device::HeadlessHost host;
  device::DeviceSession player(session.app, host, [&where] { return device::FindBackends(where); });
  device::PlayerContent content(session.app, player);
  if (!ReadPlayer(session, player, content)) {
    player.StopDevice(true, false);
    return 1;
  }
  std::set<int> missing = ids;
  for (catalogue::TrackRecord& row : session.app.files) {
    row.selected = missing.erase(device::DeviceRowId(row)) > 0;
  }
  for (int id : missing) std::cerr << "tonvault-cli: no track with ID " << id << " on the player\n";
  if (catalogue::CountSelected(session.app.files) > 0) content.DeleteSelectedFilesOnNjb();
  session.frontend.FinishProgressLine();
  const std::size_t left = catalogue::CountSelected(session.app.files);
  player.StopDevice(true, false);
  return missing.empty() && left == 0 ? 0 : 1;
}

}  // namespace

// tonvault-cli player SUBCOMMAND [--player WHERE]: the portable player.
int PlayerCommand(const Arguments& arguments) {
  const std::string sub = arguments.empty() ? "" : arguments.front();
  if (sub == "update-tags") return PlayerUpdateTags(Arguments(arguments.begin() + 1, arguments.end()));
  if (sub == "send") return PlayerSend(Arguments(arguments.begin() + 1, arguments.end()));
  if (sub == "get") return PlayerGet(Arguments(arguments.begin() + 1, arguments.end()));
  if (sub == "sync") return PlayerSync(Arguments(arguments.begin() + 1, arguments.end()));
  if (sub == "playlists" || sub == "playlist-save" || sub == "playlist-load") return PlayerPlaylists(arguments);
  if (sub != "info" && sub != "ls" && sub != "rm") {
    std::cerr << kPlayerUsage;
    return 2;
  }
  device::PlayerAddress where;
  std::set<int> ids;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    int id = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), id);
    if (sub == "rm" && error == std::errc() && end == word.data() + word.size() && id >= 0) {
      ids.insert(id);
      continue;
    }
    const auto parsed =
        word == "--player" && i + 1 < arguments.size() ? device::ParsePlayerAddress(arguments[++i]) : std::nullopt;
    if (!parsed) {
      std::cerr << kPlayerUsage;
      return 2;
    }
    where = *parsed;
  }
  if (sub == "rm" && ids.empty()) {
    std::cerr << kPlayerUsage;
    return 2;
  }
  if (sub == "ls") return PlayerList(where);
  if (sub == "rm") return PlayerRemove(where, ids);
  return PlayerInfo(where);
}

}  // namespace tonvault::cli
