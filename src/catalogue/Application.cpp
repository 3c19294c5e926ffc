#include "catalogue/Application.h"

#include "catalogue/StatusTexts.h"

namespace tonvault::catalogue {

Application::Application(Frontend& frontendIn, Clock clock)
    : frontend(frontendIn),
      databaseFolder(HomeFolder()),
      txtFolder(HomeFolder()),
      htmlFolder(HomeFolder()),
      programFolder(ProgramFolder()),
      timeEstimate(std::move(clock)),
      random(std::random_device{}()) {}

std::vector<TrackRecord>& Rows(Application& app, ListId list) {
  return list == ListId::Files ? app.files : app.results;
}

SortState& SortOf(Application& app, ListId list) { return list == ListId::Files ? app.filesSort : app.resultsSort; }

void SetCommandState(Application& app, int code) {
  app.commandStateCode = code;
  app.frontend.ApplyCommandState(CommandStateFor(code, app.deviceKind));
}

void StartProgress(Application& app) {
  std::uniform_int_distribution<int> pick(0, kProgressColourCount - 1);
  const int first = pick(app.random);
  int second = pick(app.random);
  while (second == first) second = pick(app.random);
  app.frontend.SetProgressColours(static_cast<ProgressColour>(first), static_cast<ProgressColour>(second));
  app.timeEstimate.Restart();
}

void ShowTimeEstimate(Application& app, std::size_t total, std::size_t done) {
  if (done == 0) {
    app.timeEstimate.Restart();
    return;
  }
  app.frontend.SetStatusPanel(1, app.timeEstimate.Text(total, done));
}

void SetCatalogueModified(Application& app, bool modified) {
  app.catalogueModified = modified;
  app.frontend.SetWindowTitle(WindowTitle(app.databaseFileName, modified));
}

void FilesChanged(Application& app) {
  SetCatalogueModified(app, true);
  app.viewRebuildNeeded.SetAll();
}

void StopCommand(Application& app) {
  if (app.commandStateCode == 0) app.stopRequest = true;
}

void ChoosePriority(Application& app, Priority priority) {
  if (SetProcessPriority(priority)) {
    app.priority = priority;
    return;
  }
  app.frontend.SetStatusPanel(0, "Priority not changed: the system refused it.");
}

namespace {
// The list a page shows rows of, or null for pages without one.
const std::vector<TrackRecord>* ListOfPage(const Application& app, Page page) {
  if (page == Page::Files) return &app.files;
  if (page == Page::Results) return &app.results;
  return nullptr;
}
}  // namespace

void UpdateStatusTexts(Application& app) {
  const auto* list = ListOfPage(app, app.currentPage);
  const std::size_t rows = list != nullptr ? list->size() : 0;
  const std::size_t selected = list != nullptr ? CountSelected(*list) : 0;
  const StatusPanels panels = StatusTextsFor(app.currentPage, rows, selected);
  app.frontend.SetStatusPanel(0, panels.rows);
  app.frontend.SetStatusPanel(1, panels.selected);
}

void SelectionChanged(Application& app) {
  if (app.commandStateCode == 0) return;
  const auto* list = ListOfPage(app, app.currentPage);
  if (list == nullptr) return;
  app.frontend.SetStatusPanel(1, StatusTextsFor(app.currentPage, list->size(), CountSelected(*list)).selected);
}

}  // namespace tonvault::catalogue
