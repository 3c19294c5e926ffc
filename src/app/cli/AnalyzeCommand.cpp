#include <filesystem>
#include <iostream>

#include "catalogue/DatabaseCommands.h"
#include "catalogue/repair/AnalysisPage.h"
#include "catalogue/repair/BatchAnalysis.h"
#include "cli/AnalysisJson.h"
#include "cli/Commands.h"
#include "cli/Session.h"

namespace tonvault::cli {

namespace {

constexpr const char* kUsage =
    "Usage: tonvault-cli analyze FILE... [--json] [--tolerate N]\n"
    "       tonvault-cli analyze --batch CATALOGUE.tvd [--auto-fix-begin] [--auto-fix-end] -o RESULTS.tvd\n"
    "  FILE...            print each file's frame analysis: tags, first frame, spaces, the frame\n"
    "                     list and whether the batch would list it as a problem\n"
    "  --json             one JSON object a line instead of text\n"
    "  --batch            analyse every MP3 of a catalogue and write those with problems\n"
    "  --auto-fix-begin   delete space before the first frame automatically (backup first)\n"
    "  --auto-fix-end     delete space after the last frame automatically (backup first)\n"
    "The problem tests are the Settings page's defaults: space at beginning and end, changes of\n"
    "MPEG version, layer and sample frequency, and bad frames.\n";

struct AnalyzeArguments {
  std::vector<std::string> files;
  std::string batch, output;
  bool json = false, autoFixBegin = false, autoFixEnd = false;
  int tolerate = 0;
  std::string error;
};

AnalyzeArguments Parse(const Arguments& arguments) {
  AnalyzeArguments parsed;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    if (a == "--json") parsed.json = true;
    else if (a == "--auto-fix-begin") parsed.autoFixBegin = true;
    else if (a == "--auto-fix-end") parsed.autoFixEnd = true;
    else if (a == "--batch" && hasValue) parsed.batch = arguments[++i];
    else if (a == "-o" && hasValue) parsed.output = arguments[++i];
    else if (a == "--tolerate" && hasValue) parsed.tolerate = std::atoi(arguments[++i].c_str());
    else if (a.rfind("-", 0) == 0) parsed.error = "unknown option " + a;
    else parsed.files.push_back(a);
  }
  if (parsed.error.empty() && parsed.batch.empty() && parsed.files.empty()) parsed.error = "name at least one file";
  if (parsed.error.empty() && !parsed.batch.empty() && (parsed.output.empty() || !parsed.files.empty())) {
    parsed.error = "--batch takes one catalogue and -o RESULTS.tvd";
  }
  return parsed;
}

int Batch(const AnalyzeArguments& parsed) {
  Session session;
  catalogue::Application& app = session.app;
  if (!session.Load(parsed.batch)) return 1;
  app.options.mp3.errorsTolerated = parsed.tolerate;
  app.options.analyze.beginAutoFix = parsed.autoFixBegin;
  app.options.analyze.endAutoFix = parsed.autoFixEnd;
  const auto counts = catalogue::BatchAnalyze(app);
  session.frontend.FinishProgressLine();
  if (!counts) return 1;
  return catalogue::WriteDatabase(app, parsed.output, app.results) ? 0 : 1;
}

}  // namespace

// tonvault-cli analyze: the MP3 page's analysis of each file, or the batch
// over a catalogue.
int AnalyzeCommand(const Arguments& arguments) {
  const AnalyzeArguments parsed = Parse(arguments);
  if (!parsed.error.empty()) {
    std::cerr << "tonvault-cli analyze: " << parsed.error << "\n" << kUsage;
    return 2;
  }
  if (!parsed.batch.empty()) return Batch(parsed);
  Session session;
  catalogue::Application& app = session.app;
  app.options.mp3.errorsTolerated = parsed.tolerate;
  int status = 0;
  for (const std::string& name : parsed.files) {
    std::error_code error;
    const std::string path = std::filesystem::absolute(name, error).lexically_normal().string();
    catalogue::AnalysisPage page;
    if (!std::filesystem::is_regular_file(path, error)) {
      std::cerr << "tonvault-cli analyze: " << name << ": not a file\n";
      status = 1;
      continue;
    }
    catalogue::AnalyzeInto(app, page, path);
    page.fileName = path;
    catalogue::ShowFigures(page);
    catalogue::FileVerdict verdict;
    verdict.unreadable = page.analysis.outcome != audio::Mp3Analysis::Outcome::Done;
    verdict.verdict = catalogue::TestProblems(page.analysis, app.options.analyze);
    std::cout << (parsed.json ? AnalysisJson(page, verdict) + "\n" : AnalysisText(page, verdict)) << std::flush;
    if (verdict.unreadable) status = 1;
  }
  return status;
}

}  // namespace tonvault::cli
