#include "catalogue/PageChange.h"

#include <algorithm>

#include "catalogue/StatusTexts.h"

namespace tonvault::catalogue {

namespace {

void ShowPanels(Application& app, const StatusPanels& panels) {
  app.frontend.SetStatusPanel(0, panels.rows);
  app.frontend.SetStatusPanel(1, panels.selected);
}

// Rebuilds a view that FILES changed under, then shows its counts.
void EnterViewPage(Application& app, Page page, ViewKind kind, bool& rebuildNeeded, int code) {
  if (rebuildNeeded && app.viewBuilder != nullptr) app.viewBuilder->Build(app, kind, true);
  SetCommandState(app, code);
  const auto& lines = app.views[static_cast<std::size_t>(kind)].lines;
  const auto selected = static_cast<std::size_t>(
      std::count_if(lines.begin(), lines.end(), [](const ViewLine& l) { return l.selected; }));
  ShowPanels(app, StatusTextsFor(page, lines.size(), selected));
}

void RecomputeStatisticsIfNeeded(Application& app) {
  if (app.viewRebuildNeeded.statistics && app.viewBuilder != nullptr) app.viewBuilder->ComputeStatistics(app);
}

void EnterPage(Application& app, Page page) {
  switch (page) {
    case Page::Files: SetCommandState(app, 1); UpdateStatusTexts(app); break;
    case Page::Results: SetCommandState(app, 6); UpdateStatusTexts(app); break;
    case Page::Albums: EnterViewPage(app, page, ViewKind::Albums, app.viewRebuildNeeded.albums, 2); break;
    case Page::Artists: EnterViewPage(app, page, ViewKind::Artists, app.viewRebuildNeeded.artists, 3); break;
    case Page::Genres: EnterViewPage(app, page, ViewKind::Genres, app.viewRebuildNeeded.genres, 4); break;
    case Page::Search: SetCommandState(app, 5); ShowPanels(app, {}); break;
    case Page::Mp3: SetCommandState(app, 12); ShowPanels(app, {}); break;
    case Page::Statistics:
      SetCommandState(app, 7);
      RecomputeStatisticsIfNeeded(app);
      ShowPanels(app, {});
      break;
    case Page::Settings: SetCommandState(app, 8); ShowPanels(app, {}); break;
    case Page::Id3Editor: SetCommandState(app, 9); ShowPanels(app, {}); break;
    case Page::Synchronize:
      if (app.syncHooks != nullptr) app.syncHooks->EnterSync();
      SetCommandState(app, 11);
      ShowPanels(app, StatusTextsFor(page, 0, 0));
      break;
    case Page::Player:
      SetCommandState(app, 13);
      app.frontend.PumpEvents();
      ShowPanels(app, {});
      break;
    case Page::QuickCopy: SetCommandState(app, 14); ShowPanels(app, {}); break;
    case Page::Playlists: SetCommandState(app, 13); ShowPanels(app, StatusTextsFor(page, 0, 0)); break;
  }
}

}  // namespace

void ChangePage(Application& app, Page page) {
  if (page == Page::Playlists && app.deviceKind == kDeviceNomadII) {
    Ask(app.frontend, Sound::Hand, MessageKind::Information, "Nomad II cannot handle PlayLists.", {Button::Ok});
    page = Page::Files;
  }
  if (app.syncHooks != nullptr) app.syncHooks->ApplyPendingDeletions();
  const Page previous = app.currentPage;
  if (previous == Page::Id3Editor && page != previous && app.editorHooks != nullptr) app.editorHooks->LeaveEditor();
  if (page != app.currentPage) {
    app.currentPage = page;
    app.frontend.ShowPage(page);
  }
  if (page == Page::Id3Editor && previous != page && app.editorHooks != nullptr) {
    // The editor sets its own command state, or refuses and changes to the
    // Files page itself; then that change has the last word.
    app.editorHooks->OpenEditor();
    if (app.currentPage == page) app.lastPage = page;
    return;
  }
  if (page == Page::Id3Editor && app.editorHooks != nullptr) {
    app.editorHooks->RefreshEditor();
    app.lastPage = page;
    return;
  }
  EnterPage(app, page);
  app.lastPage = page;
}

}  // namespace tonvault::catalogue
