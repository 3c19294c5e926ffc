#include <filesystem>
#include <iostream>
#include <sstream>

#include "catalogue/repair/AnalysisPage.h"
#include "catalogue/repair/ManualFix.h"
#include "catalogue/repair/RepairFile.h"
#include "cli/AnalysisJson.h"
#include "cli/Commands.h"
#include "cli/Session.h"

namespace tonvault::cli {

namespace {

constexpr const char* kUsage =
    "Usage: tonvault-cli repair FILE [--before] [--after] [--groups N,...] [--no-backup] [--keep-date]\n"
    "  --before       delete the space before the first valid frame (an ID3v2 tag stays)\n"
    "  --after        delete the space after the last frame (an ID3v1 tag stays)\n"
    "  --groups N,... delete every frame of these rows of the frame list (counted from 1,\n"
    "                 as tonvault-cli analyze lists them)\n"
    "  --no-backup    do not keep a copy as NAME.bak (by default one is made, and an\n"
    "                 existing NAME.bak is never replaced: the repair is refused)\n"
    "  --keep-date    the repaired file keeps its modification time\n"
    "The repaired stream is written beside the file, checked, and only then takes its place;\n"
    "on any failure the file stays as it was. Prints the analysis of the repaired file.\n";

struct RepairArguments {
  std::string file;
  bool before = false, after = false, backup = true, keepDate = false;
  std::vector<std::size_t> groups;
  std::string error;
};

bool ParseGroups(const std::string& list, std::vector<std::size_t>& groups) {
  std::stringstream in(list);
  std::string item;
  while (std::getline(in, item, ',')) {
    if (item.empty() || item.find_first_not_of("0123456789") != std::string::npos) return false;
    const unsigned long value = std::stoul(item);
    if (value == 0) return false;
    groups.push_back(value);
  }
  return !groups.empty();
}

RepairArguments Parse(const Arguments& arguments) {
  RepairArguments parsed;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    if (a == "--before") parsed.before = true;
    else if (a == "--after") parsed.after = true;
    else if (a == "--no-backup") parsed.backup = false;
    else if (a == "--keep-date") parsed.keepDate = true;
    else if (a == "--groups" && i + 1 < arguments.size()) {
      if (!ParseGroups(arguments[++i], parsed.groups)) parsed.error = "--groups takes row numbers from 1, like 2,5";
    } else if (a.rfind("-", 0) == 0 || !parsed.file.empty()) {
      parsed.error = "unknown argument " + a;
    } else {
      parsed.file = a;
    }
  }
  if (parsed.error.empty() && parsed.file.empty()) parsed.error = "name one file";
  if (parsed.error.empty() && !parsed.before && !parsed.after && parsed.groups.empty()) {
    parsed.error = "say what to delete: --before, --after or --groups";
  }
  return parsed;
}

}  // namespace

// tonvault-cli repair FILE: the MP3 page's fix without a window.
int RepairCommand(const Arguments& arguments) {
  const RepairArguments parsed = Parse(arguments);
  if (!parsed.error.empty()) {
    std::cerr << "tonvault-cli repair: " << parsed.error << "\n" << kUsage;
    return 2;
  }
  std::error_code error;
  const std::string path = std::filesystem::absolute(parsed.file, error).lexically_normal().string();
  if (parsed.backup && std::filesystem::exists(std::filesystem::symlink_status(catalogue::BackupPath(path), error))) {
    std::cerr << "tonvault-cli repair: " << catalogue::BackupPath(path)
              << " exists and is never replaced; move it away or use --no-backup\n";
    return 1;
  }
  Session session;
  catalogue::Application& app = session.app;
  app.options.analyze.keepOriginalFileDate = parsed.keepDate;
  catalogue::AnalysisPage page;
  catalogue::AnalyzeFile(app, page, path, catalogue::Page::Files);
  if (!page.analysed || page.analysis.outcome != audio::Mp3Analysis::Outcome::Done) return 1;
  const std::size_t rows = page.analysis.frames.Groups().size();
  for (const std::size_t group : parsed.groups) {
    if (group > rows) {
      std::cerr << "tonvault-cli repair: the frame list has " << rows << " rows, not " << group << "\n";
      return 2;
    }
    page.CheckGroup(group - 1, true);
  }
  page.frames.checked = !parsed.groups.empty();
  page.spaceBefore.checked = parsed.before;
  page.spaceAfter.checked = parsed.after;
  page.keepCopy = parsed.backup;
  if (!catalogue::FixMp3(app, page)) return 1;
  catalogue::FileVerdict verdict;
  verdict.verdict = catalogue::TestProblems(page.analysis, app.options.analyze);
  std::cout << AnalysisJson(page, verdict) << '\n';
  return 0;
}

}  // namespace tonvault::cli
