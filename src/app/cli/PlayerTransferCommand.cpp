#include "cli/PlayerTransferCommand.h"

#include <charconv>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>

#include "catalogue/AudioHost.h"
#include "catalogue/FillRow.h"
#include "cli/JsonLines.h"
#include "cli/Session.h"
#include "device/Backends.h"
#include "device/transfer/CopyToNjb.h"
#include "device/transfer/CopyToPc.h"
#include "device/transfer/TransferRecord.h"
#include "device/transfer/UpdateReceivedTags.h"
#include "device/session/HeadlessHost.h"

namespace tonvault::cli {
namespace {

constexpr const char* kSendUsage =
    "Usage: tonvault-cli player send FILE... [--player WHERE] [--existing never|always|ask]\n"
    "         [--modify-copy-resistant] [--min-free MB] [--full-scan] [--errors-tolerated N]\n";
constexpr const char* kGetUsage =
    "Usage: tonvault-cli player get ID... -o DIR [--player WHERE] [--existing never|always|ask]\n"
    "         [--rename] [--id3v1 off|if-existing|create] [--id3v2 off|if-existing|create]\n";

std::optional<int> Number(const std::string& text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
  return value;
}

std::optional<int> Choice(const std::string& text, const std::map<std::string, int>& choices) {
  const auto found = choices.find(text);
  return found == choices.end() ? std::nullopt : std::optional<int>(found->second);
}

// "never" (the default here, so a script never overwrites by surprise),
// "always", or "ask", which the headless tool answers with Yes.
const std::map<std::string, int> kExisting = {{"always", 0}, {"never", 1}, {"ask", 2}};
const std::map<std::string, int> kTagUpdate = {{"off", 0}, {"if-existing", 1}, {"create", 2}};

// What both directions share: the player, the options, the positional words.
struct TransferArguments {
  device::PlayerAddress where;
  std::vector<std::string> words;
  std::string outFolder;
  bool valid = true;
};

// Reads the options both commands know and those of one direction
// (`option` returns false for a word it does not take).
template <class Option>
TransferArguments ParseTransfer(const Arguments& arguments, int& existing, Option option) {
  TransferArguments parsed;
  for (std::size_t i = 0; i < arguments.size() && parsed.valid; ++i) {
    const std::string& word = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    if (word == "--player" && hasValue) {
      const auto where = device::ParsePlayerAddress(arguments[++i]);
      parsed.valid = where.has_value();
      if (where) parsed.where = *where;
    } else if (word == "--existing" && hasValue) {
      const auto choice = Choice(arguments[++i], kExisting);
      parsed.valid = choice.has_value();
      existing = choice.value_or(1);
    } else if (word.starts_with("-")) {
      parsed.valid = option(word, hasValue ? &arguments[i + 1] : nullptr, i);
    } else {
      parsed.words.push_back(word);
    }
  }
  parsed.valid = parsed.valid && !parsed.words.empty();
  return parsed;
}

std::string RowLine(const device::TransferRow& row, std::optional<int> id) {
  JsonObject object;
  if (id) object.Add("id", static_cast<long long>(*id));
  object.Add("file", row.fileName).Add("album", row.album).Add("artist", row.artist).Add("title", row.title);
  object.Add("sizeKB", row.sizeKb).Add("state", row.state);
  return object.Line();
}

bool Succeeded(const device::TransferRow& row) { return row.state == "Done" || row.state == "Replaced"; }

// The player session of one headless transfer, closed at the end.
struct HeadlessTransfer {
  explicit HeadlessTransfer(Session& session, const device::PlayerAddress& where)
      : player(session.app, host, [where] { return device::FindBackends(where); }),
        content(session.app, player),
        context{session.app, player, content, window} {
    window.After().beep = false;
  }
  ~HeadlessTransfer() { player.StopDevice(true, false); }

  device::HeadlessHost host;
  device::DeviceSession player;
  device::PlayerContent content;
  device::TransferRecord window;
  device::TransferContext context;
};

// Prints every row and tells whether each one arrived.
int Report(Session& session, const device::TransferRecord& window, const std::vector<std::optional<int>>& ids) {
  session.frontend.FinishProgressLine();
  bool all = !window.Rows().empty();
  for (std::size_t n = 0; n < window.Rows().size(); ++n) {
    const device::TransferRow& row = window.Rows()[n];
    std::cout << RowLine(row, n < ids.size() ? ids[n] : std::nullopt) << '\n';
    all = all && Succeeded(row);
  }
  return all ? 0 : 1;
}

// The item of one file, read as the import reads it.
device::SendItem ItemOfFile(const std::string& name, catalogue::Application& app) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(name, error);
  const std::string path = error ? name : absolute.lexically_normal().string();
  catalogue::TrackRecord row;
  if (std::filesystem::is_regular_file(path, error)) {
    catalogue::VolumeLabels labels;
    catalogue::FrontendScanHost host(app);
    catalogue::FillContext context{app.columnMap, app.options, labels, host};
    catalogue::FillRow(row, path, context);
  }
  device::SendItem item = device::SendItemOfRow(row, app.columnMap);
  item.path = path;
  return item;
}

}  // namespace

int PlayerSend(const Arguments& arguments) {
  Session session;
  catalogue::Options& options = session.app.options;
  options.njb.minFree = 100;
  options.download.existingFiles = 1;
  const TransferArguments parsed =
      ParseTransfer(arguments, options.download.existingFiles,
                    [&](const std::string& word, const std::string* value, std::size_t& i) {
                      if (word == "--modify-copy-resistant") return options.njb.modifyTracks = true;
                      if (word == "--full-scan") return options.download.fullCheck = true;
                      const std::optional<int> number = value ? Number(*value) : std::nullopt;
                      if (!number) return false;
                      ++i;
                      if (word == "--min-free") options.njb.minFree = *number;
                      else if (word == "--errors-tolerated") options.download.errorsTolerated = *number;
                      else return false;
                      return true;
                    });
  if (!parsed.valid) {
    std::cerr << kSendUsage;
    return 2;
  }
  std::vector<device::SendItem> items;
  for (const std::string& name : parsed.words) items.push_back(ItemOfFile(name, session.app));
  HeadlessTransfer transfer(session, parsed.where);
  std::vector<std::optional<int>> ids(items.size());
  const device::TransferOutcome outcome =
      device::CopyFilesToNjb(transfer.context, items, [&ids](std::size_t n, const device::AudioInfo& sent) { ids[n] = sent.id; });
  if (!outcome.ran) {
    session.frontend.FinishProgressLine();
    return 1;
  }
  return Report(session, transfer.window, ids);
}

int PlayerGet(const Arguments& arguments) {
  Session session;
  catalogue::Options& options = session.app.options;
  options.upload.id3v1 = options.upload.id3v2 = 0;
  options.upload.existingFiles = 1;
  std::string out;
  const TransferArguments parsed =
      ParseTransfer(arguments, options.upload.existingFiles,
                    [&](const std::string& word, const std::string* value, std::size_t& i) {
                      if (word == "--rename") {
                        options.upload.renaming = 1;
                        return true;
                      }
                      if (!value) return false;
                      ++i;
                      if (word == "-o") return !(out = *value).empty();
                      const std::optional<int> state = Choice(*value, kTagUpdate);
                      if (!state || (word != "--id3v1" && word != "--id3v2")) return false;
                      (word == "--id3v1" ? options.upload.id3v1 : options.upload.id3v2) = *state;
                      return true;
                    });
  std::vector<int> ids;
  for (const std::string& word : parsed.words) {
    if (const auto id = Number(word)) ids.push_back(*id);
  }
  if (!parsed.valid || out.empty() || ids.size() != parsed.words.size()) {
    std::cerr << kGetUsage;
    return 2;
  }
  std::error_code error;
  if (!std::filesystem::is_directory(out, error)) {
    std::cerr << "tonvault-cli player get: " << out << ": not a folder\n";
    return 2;
  }
  if (!out.ends_with('/')) out += '/';
  HeadlessTransfer transfer(session, parsed.where);
  const device::TransferOutcome outcome = device::CopyTracksToPc(transfer.context, ids, out);
  if (!outcome.ran) {
    session.frontend.FinishProgressLine();
    return 1;
  }
  return Report(session, transfer.window, std::vector<std::optional<int>>(ids.begin(), ids.end()));
}

}  // namespace tonvault::cli
