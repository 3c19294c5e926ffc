#pragma once

#include "catalogue/Application.h"

namespace tonvault::catalogue {

// Shows `page` and runs the page change: the page's command state, its
// rebuild where it is out of date, and the status texts. Every operation
// ends with it, which also leaves the busy state.
void ChangePage(Application& app, Page page);

// The page change for the page on display.
inline void RefreshPage(Application& app) { ChangePage(app, app.currentPage); }

}  // namespace tonvault::catalogue
