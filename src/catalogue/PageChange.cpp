#include "catalogue/PageChange.h"

#include "catalogue/StatusTexts.h"

namespace tonvault::catalogue {

namespace {

void ShowPanels(Application& app, const StatusPanels& panels) {
  app.frontend.SetStatusPanel(0, panels.rows);
  app.frontend.SetStatusPanel(1, panels.selected);
}

// The view pages are filled by their own builders; until they exist a view
// has no rows and is never out of date after its first visit.
void RebuildViewIfNeeded(bool& flag) { flag = false; }

void EnterPage(Application& app, Page page) {
  switch (page) {
    case Page::Files: SetCommandState(app, 1); UpdateStatusTexts(app); break;
    case Page::Results: SetCommandState(app, 6); UpdateStatusTexts(app); break;
    case Page::Albums:
      RebuildViewIfNeeded(app.viewRebuildNeeded.albums);
      SetCommandState(app, 2);
      ShowPanels(app, StatusTextsFor(page, 0, 0));
      break;
    case Page::Artists:
      RebuildViewIfNeeded(app.viewRebuildNeeded.artists);
      SetCommandState(app, 3);
      ShowPanels(app, StatusTextsFor(page, 0, 0));
      break;
    case Page::Genres:
      RebuildViewIfNeeded(app.viewRebuildNeeded.genres);
      SetCommandState(app, 4);
      ShowPanels(app, StatusTextsFor(page, 0, 0));
      break;
    case Page::Search: SetCommandState(app, 5); ShowPanels(app, {}); break;
    case Page::Mp3: SetCommandState(app, 12); ShowPanels(app, {}); break;
    case Page::Statistics:
      SetCommandState(app, 7);
      RebuildViewIfNeeded(app.viewRebuildNeeded.statistics);
      ShowPanels(app, {});
      break;
    case Page::Settings: SetCommandState(app, 8); ShowPanels(app, {}); break;
    case Page::Id3Editor: SetCommandState(app, 9); ShowPanels(app, {}); break;
    case Page::Synchronize: SetCommandState(app, 11); ShowPanels(app, StatusTextsFor(page, 0, 0)); break;
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
  if (page != app.currentPage) {
    app.currentPage = page;
    app.frontend.ShowPage(page);
  }
  EnterPage(app, page);
  app.lastPage = page;
}

}  // namespace tonvault::catalogue
