#include "catalogue/repair/ManualFix.h"

#include "catalogue/PageChange.h"
#include "catalogue/repair/RepairFile.h"

namespace tonvault::catalogue {

namespace {

// Sets the `remove` flag of every record of a checked row; returns how
// many records are marked.
std::int64_t MarkCheckedFrames(AnalysisPage& page, bool withFrames) {
  auto& records = page.analysis.frames.Records();
  const auto& groups = page.analysis.frames.Groups();
  std::int64_t marked = 0;
  for (audio::FrameRecord& record : records) {
    record.remove = false;
    if (!withFrames) continue;
    for (const audio::FrameGroup& group : groups) {
      if (group.checked && group.Holds(record)) {
        record.remove = true;
        ++marked;
        break;
      }
    }
  }
  return marked;
}

}  // namespace

std::string ManyFramesQuestion(std::int64_t count) {
  return "You have selected " + std::to_string(count) + " frames to delete.\n\r\rDo you really want to proceed ?";
}

std::string BackupFailedQuestion(const std::string& backupPath) {
  return "Cannot create backup copy\n\r" + backupPath + "\n\r\rProceed ?";
}

bool FixMp3(Application& app, AnalysisPage& page) {
  if (!page.analysed || page.analysis.frames.Records().empty()) return false;
  const bool withFrames = page.frames.checked && page.AnyGroupChecked();
  if (!page.spaceBefore.checked && !page.spaceAfter.checked && !withFrames) {
    Ask(app.frontend, Sound::Default, MessageKind::Information, kNothingToFix, {Button::Ok});
    return false;
  }
  const std::int64_t marked = MarkCheckedFrames(page, withFrames);
  if (marked >= kFramesAskedAbout && Ask(app.frontend, Sound::Default, MessageKind::Confirmation,
                                         ManyFramesQuestion(marked), {Button::Yes, Button::No}) == Button::No) {
    return false;
  }
  const std::string path = page.analysis.path;
  if (page.keepCopy && MakeBackup(path) != BackupOutcome::Made &&
      Ask(app.frontend, Sound::Default, MessageKind::Confirmation, BackupFailedQuestion(BackupPath(path)),
          {Button::Yes, Button::No}) == Button::No) {
    return false;
  }
  audio::RebuildRequest request;
  request.dropSpaceBefore = page.spaceBefore.checked;
  request.dropSpaceAfter = page.spaceAfter.checked;
  request.keepFileDate = app.options.analyze.keepOriginalFileDate;
  const audio::RebuildResult result = RepairFile(app, page.analysis, request, page.source, page.sourceRow);
  if (!result.Ok()) {
    Ask(app.frontend, Sound::Exclamation, MessageKind::Error, RebuildFailureText(result, path), {Button::Ok});
    return false;
  }
  AnalyzeFile(app, page, path, app.currentPage);
  return true;
}

}  // namespace tonvault::catalogue
