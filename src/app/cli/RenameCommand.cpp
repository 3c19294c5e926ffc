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

}  // namespace

// tonvault-cli rename: the renaming of the ID3 editor, for scripts.
int RenameCommand(const Arguments& arguments) {
  FileNameSession session;
  catalogue::RenameOptions& options = session.App().options.rename;
  bool dryRun = false;
  std::vector<std::string> files;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    if (a == "--dry-run") {
      dryRun = true;
    } else if (a == "--v1" || a == "--v2") {
      options.tagVersion = a == "--v2" ? 1 : 0;
    } else if (a.rfind("--", 0) == 0 && !hasValue) {
      return Usage(a + " is not an option or lacks its value");
    } else if (a == "--format") {
      options.format = arguments[++i];
      options.advanced = true;
    } else if (a == "--items") {
      const auto rows = ItemRowsFromList(arguments[++i]);
      if (!rows) return Usage("--items takes a comma list of track, artist, title, album, year, comment, genre");
      options.order = *rows;
      options.advanced = false;
    } else if (a == "--separator") {
      options.separator = arguments[++i];
    } else if (a == "--digits") {
      const std::string& digits = arguments[++i];
      if (digits.size() != 1 || digits[0] < '1' || digits[0] > '4') return Usage("--digits needs a number from 1 to 4");
      options.trackDigits = digits[0] - '0';
    } else if (a == "--substitute") {
      if (!catalogue::IsValidSubstitute(arguments[i + 1])) {
        return Usage("--substitute needs one character other than : * ? \\ / < > | \"");
      }
      options.substitute = arguments[++i];
    } else if (a.rfind("--", 0) == 0) {
      return Usage(a + " is not an option");
    } else {
      files.push_back(a);
    }
  }
  if (files.empty()) return Usage("no file given");
  if (!session.Open("rename", files)) return session.Status();
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
