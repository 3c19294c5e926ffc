#include "catalogue/repair/AnalysisPage.h"

#include <algorithm>
#include <filesystem>

#include "catalogue/AudioHost.h"
#include "catalogue/PageChange.h"

namespace tonvault::catalogue {

namespace {

std::string SpaceLabel(std::int64_t bytes) { return std::string(kValidFrame) + "  (" + std::to_string(bytes) + " Bytes)"; }

}  // namespace

bool AnalysisPage::AnyGroupChecked() const {
  const auto& groups = analysis.frames.Groups();
  return std::any_of(groups.begin(), groups.end(), [](const audio::FrameGroup& g) { return g.checked; });
}

void AnalysisPage::CheckGroup(std::size_t group, bool checked) {
  auto& groups = analysis.frames.Groups();
  if (group >= groups.size()) return;
  groups[group].checked = checked;
  frames.enabled = AnyGroupChecked();
  if (!frames.enabled) frames.checked = false;
}

void AnalysisPage::Reset() {
  const ListId keptSource = source;
  const std::size_t keptRow = sourceRow;
  *this = AnalysisPage();
  source = keptSource;
  sourceRow = keptRow;
}

std::string Id3v1VersionText(int version) {
  if (version == 10) return "Version  1.0";
  if (version == 11) return "Version  1.1";
  return "none";
}

void ShowFigures(AnalysisPage& page) {
  const audio::Mp3Analysis& analysis = page.analysis;
  page.id3v1Text = Id3v1VersionText(analysis.id3v1Version);
  if (analysis.TagLength() > 0) {
    page.id3v2LengthText = "Length:  " + std::to_string(analysis.TagLength()) + "  bytes";
    page.id3v2VersionText = "Version:  2." + std::to_string(analysis.frames.Id3v2Major()) + "." +
                            std::to_string(analysis.frames.Id3v2Revision());
  }
  if (analysis.FirstFrame() >= 0) page.firstFrameText = std::to_string(analysis.FirstFrame());
  page.badFramesText = std::to_string(analysis.frames.BadCount()) + "  BAD frames";
  if (const std::int64_t before = analysis.SpaceBefore(); before > 0) {
    page.spaceBefore.enabled = true;
    page.spaceBefore.label = SpaceLabel(before);
  }
  if (const std::int64_t after = analysis.SpaceAfter(); after > 0) {
    page.spaceAfter.enabled = true;
    page.spaceAfter.label = SpaceLabel(after);
    page.endSpaceText = "Space after last frame: " + std::to_string(after) + " Bytes";
  }
  page.analysed = true;
}

bool AnalyzeInto(Application& app, AnalysisPage& page, const std::string& path) {
  FrontendScanHost host(app);
  page.analysis = audio::AnalyzeMp3(path, app.options.mp3.errorsTolerated, host);
  return page.analysis.outcome != audio::Mp3Analysis::Outcome::Stopped;
}

void AnalyzeRow(Application& app, AnalysisPage& page, ListId source, std::size_t row, Page returnPage) {
  const auto& rows = Rows(app, source);
  if (row >= rows.size()) return;
  page.source = source;
  page.sourceRow = row;
  AnalyzeFile(app, page, FileOfRow(rows[row], app.columnMap), returnPage);
}

void AnalyzeFile(Application& app, AnalysisPage& page, const std::string& path, Page returnPage) {
  page.Reset();
  page.fileName = path;
  app.frontend.ShowPage(Page::Mp3);
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    Ask(app.frontend, Sound::Default, MessageKind::Error, kFileNotFound, {Button::Ok});
    return;
  }
  app.stopRequest = false;
  SetCommandState(app, 0);
  if (!AnalyzeInto(app, page, path)) {
    page.Reset();
    ChangePage(app, returnPage);
    return;
  }
  ShowFigures(page);
  ChangePage(app, Page::Mp3);
}

}  // namespace tonvault::catalogue
