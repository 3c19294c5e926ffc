#include <filesystem>
#include <iostream>

#include "cli/Commands.h"
#include "cli/FileNameSession.h"
#include "tagging/rename/RenameEntry.h"

namespace tonvault::cli {

namespace {

constexpr const char* kUsage =
    "Usage: tonvault-cli rename FILE... [--items LIST | --format F] [--separator S] [--digits N]\n"
    "                          [--substitute C] [--v1 | --v2] [--dry-run]\n"
    "Renames each file to a name built from its tags and prints old and new name\n"
    "as a JSON line. --items takes a comma list of track, artist, title, album,\n"
    "year, comment, genre (default track,artist,title) joined by --separator\n"
    "(default \" - \"); --format uses placeholders %t title, %T track, %a artist,\n"
    "%A album, %y year, %c comment, %g genre. --digits: minimum width of the\n"
    "track (default 2). --substitute: the character for : * ? \\ / < > | (default _).\n"
    "--v1/--v2: which tag supplies the values (default --v1). The name always ends\n"
    "in \".mp3\". A file is never renamed onto an existing file. --dry-run only\n"
    "prints what would happen.\n";

int Usage(const std::string& problem) {
  std::cerr << "tonvault-cli rename: " << problem << "\n" << kUsage;
  return 2;
}

// Takes one option with a value; none when it is not one of rename's.
std::optional<std::string> TakeOption(catalogue::RenameOptions& options, const std::string& a,
                                      const std::string& value) {
  if (a == "--format") {
    options.format = value;
    options.advanced = true;
  } else if (a == "--items") {
    const auto rows = ItemRowsFromList(value);
    if (!rows) return kItemsProblem;
    options.order = *rows;
    options.advanced = false;
  } else if (a == "--separator") {
    options.separator = value;
  } else if (a == "--digits") {
    if (value.size() != 1 || value[0] < '1' || value[0] > '4') return "--digits needs a number from 1 to 4";
    options.trackDigits = value[0] - '0';
  } else if (a == "--substitute") {
    if (!catalogue::IsValidSubstitute(value)) return "--substitute needs one character other than : * ? \\ / < > | \"";
    options.substitute = value;
  } else {
    return std::nullopt;
  }
  return std::string();
}

}  // namespace

// tonvault-cli rename: the renaming of the ID3 editor, for scripts.
int RenameCommand(const Arguments& arguments) {
  FileNameSession session;
  catalogue::RenameOptions& options = session.App().options.rename;
  const FileNameArguments parsed = ParseFileNameArguments(
      arguments,
      [&](const std::string& a) {
        if (a != "--v1" && a != "--v2") return false;
        options.tagVersion = a == "--v2" ? 1 : 0;
        return true;
      },
      [&](const std::string& a, const std::string& value) { return TakeOption(options, a, value); });
  if (!parsed.error.empty()) return Usage(parsed.error);
  const bool dryRun = parsed.dryRun;
  if (!session.Open("rename", parsed.files)) return session.Status();
  tagging::TagEditor& editor = session.Editor();
  session.ForEachEntry([&](const std::string& given) {
    const std::string oldName = editor.EditList().at(editor.EditIndex()).fileName;
    const std::string newName = tagging::NewNameOfEntry(editor);
    JsonObject line;
    line.Add("file", given).Add("newName", session.AsGiven(given, newName));
    if (dryRun) {
      std::error_code error;
      const bool taken = newName != oldName && std::filesystem::symlink_status(newName, error).type() !=
                                                    std::filesystem::file_type::not_found;
      line.Add("nameTaken", taken);
      if (taken) session.Failed();
    } else if (!tagging::RenameEntry(editor)) {
      session.Failed();
      return;
    }
    session.Print(line);
  });
  return session.Status();
}

}  // namespace tonvault::cli
