#include "catalogue/repair/BatchAnalysis.h"

#include <filesystem>

#include "catalogue/AudioHost.h"
#include "catalogue/LongOperation.h"
#include "catalogue/TextCase.h"
#include "catalogue/repair/RepairFile.h"

namespace tonvault::catalogue {

namespace {

// Repairs what the verdict marks and the auto fixes allow; false when
// there was nothing to do or the repair did not happen.
bool AutoFix(Application& app, const audio::Mp3Analysis& analysis, const ProblemVerdict& verdict, ListId list,
             std::size_t row) {
  audio::RebuildRequest request;
  request.dropSpaceBefore = verdict.headMarked && app.options.analyze.beginAutoFix;
  request.dropSpaceAfter = verdict.tailMarked && app.options.analyze.endAutoFix;
  request.keepFileDate = app.options.analyze.keepOriginalFileDate;
  if (!request.dropSpaceBefore && !request.dropSpaceAfter) return false;
  if (MakeBackup(analysis.path) == BackupOutcome::Failed) return false;
  return RepairFile(app, analysis, request, list, row).Ok();
}

bool IsMpegName(const std::string& path) { return AsciiLower(path).find(".mp") != std::string::npos; }

}  // namespace

std::string BatchReportText(const BatchCounts& counts) {
  return std::to_string(counts.analysed) + "  MP3s analyzed.\n\r\r" + "Result:\n\r" +
         std::to_string(counts.analysed - counts.problems) + "\t" + "MP3s OK,\n\r" + std::to_string(counts.problems) +
         "\t" + "MP3s with problems,\n\r" + std::to_string(counts.notFound) + "\t" + "MP3s not found,\n\r" +
         std::to_string(counts.fixed) + "\t" + "MP3s fixed.\n\r\r" + "Results depend on settings !";
}

FileVerdict AnalyzeAndAutoFix(Application& app, const std::string& path, ListId list, std::size_t row) {
  FileVerdict result;
  FrontendScanHost host(app);
  for (int pass = 1; pass <= kAutoFixPasses; ++pass) {
    const audio::Mp3Analysis analysis = audio::AnalyzeMp3(path, app.options.mp3.errorsTolerated, host);
    if (analysis.outcome == audio::Mp3Analysis::Outcome::Stopped) {
      result.stopped = true;
      return result;
    }
    result.unreadable = analysis.outcome != audio::Mp3Analysis::Outcome::Done;
    result.verdict = TestProblems(analysis, app.options.analyze);
    if (result.unreadable || pass == kAutoFixPasses || !AutoFix(app, analysis, result.verdict, list, row)) break;
    if (pass == 1) result.fixed = true;
  }
  return result;
}

std::optional<BatchCounts> BatchAnalyze(Application& app) {
  AnalyzeOptions& options = app.options.analyze;
  if (options.beginAutoFix || options.endAutoFix) {
    const Button answer = Ask(app.frontend, Sound::Default, MessageKind::Confirmation, kAutoFixQuestion,
                              {Button::Yes, Button::No, Button::Cancel});
    if (answer == Button::Cancel) return std::nullopt;
    if (answer == Button::No) options.beginAutoFix = options.endAutoFix = false;
  }
  BatchCounts counts;
  {
    app.frontend.ShowPage(Page::Files);
    LongOperation operation(app, {1, [&counts](std::size_t) { return "Found:  " + std::to_string(counts.problems); }});
    operation.EndOnPage(Page::Files);
    app.results.clear();
    app.resultsSort.Clear();
    app.frontend.ListsChanged();
    const std::size_t total = app.files.size();
    for (std::size_t i = 0; i < total; ++i) {
      app.files[i].selected = false;
      const std::string path = FileOfRow(app.files[i], app.columnMap);
      if (IsMpegName(path) && !IsPlayerRow(app.files[i], app.columnMap)) {
        std::error_code error;
        if (!std::filesystem::exists(path, error)) {
          ++counts.notFound;
        } else {
          const FileVerdict verdict = AnalyzeAndAutoFix(app, path, ListId::Files, i);
          if (verdict.stopped) break;
          ++counts.analysed;
          if (verdict.fixed) ++counts.fixed;
          if (verdict.HasProblem()) {
            ++counts.problems;
            app.results.push_back(app.files[i]);
            app.results.back().selected = false;
            app.files[i].selected = true;
          }
        }
      }
      if (!operation.ItemDone(i + 1, total)) break;
    }
    if (counts.problems > 0) operation.EndOnPage(Page::Results);
    app.frontend.ListsChanged();
  }
  Ask(app.frontend, Sound::Default, MessageKind::Information, BatchReportText(counts), {Button::Ok});
  return counts;
}

}  // namespace tonvault::catalogue
