#include <iostream>

#include "cli/Commands.h"
#include "cli/FileNameSession.h"
#include "tagging/extract/ExtractEntry.h"

namespace tonvault::cli {

namespace {

constexpr const char* kUsage =
    "Usage: tonvault-cli extract FILE... [--items LIST] [--separators S1[|S2[|S3]]] [--v1 | --v2]\n"
    "                           [--no-override] [--dry-run]\n"
    "Cuts each file name (without its extension) into items at the separators\n"
    "(default \"-\"; up to three, divided by |, each may hold blanks) and writes\n"
    "the items into the tag fields named by --items, a comma list of track,\n"
    "artist, title, album, year, comment, genre (default track,artist,title).\n"
    "--v1/--v2: the tag that receives them (default --v1). --no-override keeps\n"
    "fields that already hold text. Prints the fields of that tag as a JSON\n"
    "line; --dry-run only prints them.\n";

int Usage(const std::string& problem) {
  std::cerr << "tonvault-cli extract: " << problem << "\n" << kUsage;
  return 2;
}

// At most three separators divided by "|".
bool TakeSeparators(const std::string& list, std::array<std::string, 3>& separators) {
  separators = {};
  std::size_t n = 0, start = 0;
  for (;;) {
    const std::size_t bar = list.find('|', start);
    if (n == separators.size()) return false;
    separators[n++] = list.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
    if (bar == std::string::npos) return true;
    start = bar + 1;
  }
}

JsonObject FieldsLine(const std::string& given, tagging::Version version, const tagging::VersionState& state) {
  static constexpr std::array<const char*, tagging::kFieldCount> kKeys = {"title", "artist", "album", "year",
                                                                         "comment", "track", "genre"};
  JsonObject line;
  line.Add("file", given).Add("version", version == tagging::Version::V1 ? 1LL : 2LL);
  for (tagging::Field field : tagging::kAllFields) {
    line.Add(kKeys[static_cast<std::size_t>(field)], StoredText(version, field, state.Value(field)));
  }
  return line;
}

}  // namespace

// tonvault-cli extract: tags from file names as the ID3 editor fills them.
int ExtractCommand(const Arguments& arguments) {
  FileNameSession session;
  catalogue::RenameOptions& options = session.App().options.rename;
  const FileNameArguments parsed = ParseFileNameArguments(
      arguments,
      [&](const std::string& a) {
        if (a == "--no-override") options.extractOverride = false;
        else if (a == "--v1" || a == "--v2") options.extractTagVersion = a == "--v2" ? 1 : 0;
        else return false;
        return true;
      },
      [&](const std::string& a, const std::string& value) -> std::optional<std::string> {
        if (a == "--separators") {
          if (!TakeSeparators(value, options.extractSeparators)) return "--separators takes at most three";
          return std::string();
        }
        if (a != "--items") return std::nullopt;
        const auto rows = ItemRowsFromList(value);
        if (!rows) return kItemsProblem;
        options.extractOrder = *rows;
        return std::string();
      });
  if (!parsed.error.empty()) return Usage(parsed.error);
  const bool dryRun = parsed.dryRun;
  if (!session.Open("extract", parsed.files)) return session.Status();
  tagging::TagEditor& editor = session.Editor();
  const tagging::Version version = tagging::ExtractVersion(options);
  session.ForEachEntry([&](const std::string& given) {
    if (dryRun) {
      tagging::FillFieldsFromFileName(editor);
    } else if (!tagging::ExtractEntry(editor)) {
      session.Failed();
      return;
    }
    session.Print(FieldsLine(given, version, editor.Of(version)));
  });
  return session.Status();
}

}  // namespace tonvault::cli
