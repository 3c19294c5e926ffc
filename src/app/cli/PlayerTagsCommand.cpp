#include "cli/PlayerTagsCommand.h"

#include <iostream>
#include <optional>

#include "cli/JsonLines.h"
#include "device/session/HeadlessHost.h"
#include "cli/Session.h"
#include "device/Backends.h"
#include "device/content/PlayerContent.h"
#include "device/tags/PlayerTagUpdate.h"

namespace tonvault::cli {
namespace {

constexpr const char* kUpdateTagsUsage =
    "Usage: tonvault-cli player update-tags CATALOGUE.tvd [--player WHERE] [--dry-run]\n";

std::string CountsJson(const device::TagUpdateCounts& counts, bool dryRun) {
  JsonObject object;
  object.Add("dryRun", dryRun);
  const std::pair<const char*, int> fields[] = {
      {"notFound", counts.notFound},         {"tooDifferent", counts.tooDifferent}, {"equal", counts.equal},
      {"toUpdate", counts.toUpdate},         {"fileNames", counts.fileNames},       {"genres", counts.genres},
      {"comments", counts.comments},         {"years", counts.years},               {"trackNumbers", counts.trackNumbers},
      {"bitrates", counts.bitrates}};
  for (const auto& [key, value] : fields) object.Add(key, static_cast<long long>(value));
  if (counts.stopped) object.Add("stopped", true);
  if (counts.failed) object.Add("failed", true);
  return object.Line();
}

// Every row of the catalogue a file on the computer: each takes part.
bool SelectComputerRows(std::vector<catalogue::TrackRecord>& rows, const catalogue::ColumnMap& map) {
  for (catalogue::TrackRecord& row : rows) {
    if (catalogue::IsPlayerRow(row, map)) return false;
    row.selected = true;
  }
  return true;
}

}  // namespace

int PlayerUpdateTags(const Arguments& arguments) {
  device::PlayerAddress where;
  std::optional<std::string> catalogueFile;
  bool dryRun = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    std::optional<device::PlayerAddress> parsed;
    if (word == "--dry-run") {
      dryRun = true;
    } else if (word == "--player" && i + 1 < arguments.size() && (parsed = device::ParsePlayerAddress(arguments[++i]))) {
      where = *parsed;
    } else if (!catalogueFile && !word.starts_with("-")) {
      catalogueFile = word;
    } else {
      std::cerr << kUpdateTagsUsage;
      return 2;
    }
  }
  if (!catalogueFile) {
    std::cerr << kUpdateTagsUsage;
    return 2;
  }
  Session session;
  if (!session.Load(*catalogueFile)) return 1;
  if (!SelectComputerRows(session.app.files, session.app.columnMap)) {
    std::cerr << "tonvault-cli: the catalogue holds rows of a player; only files on the computer are a source\n";
    return 2;
  }
  device::HeadlessHost host;
  device::DeviceSession player(session.app, host, [&where] { return device::FindBackends(where); });
  device::PlayerContent content(session.app, player);
  device::PlayerTagUpdate update(session.app, player, content);
  if (!player.StartDevice(true) || !content.EnsureDeviceTable()) {
    player.StopDevice(true, false);
    return 1;
  }
  // The dry run always goes first; the real run repeats every check.
  device::TagUpdateCounts counts = update.RunTagUpdate(catalogue::ListId::Files, true);
  std::cout << CountsJson(counts, true) << '\n';
  if (!dryRun && !counts.failed && !counts.stopped && counts.toUpdate > 0) {
    counts = update.RunTagUpdate(catalogue::ListId::Files, false);
    std::cout << CountsJson(counts, false) << '\n';
  }
  session.frontend.FinishProgressLine();
  player.StopDevice(true, false);
  return counts.failed || counts.stopped ? 1 : 0;
}

}  // namespace tonvault::cli
