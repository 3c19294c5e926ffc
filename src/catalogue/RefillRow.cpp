#include "catalogue/RefillRow.h"

#include "catalogue/AudioHost.h"
#include "catalogue/FillRow.h"
#include "catalogue/VolumeLabels.h"

namespace tonvault::catalogue {

void RefillRowAndTwin(Application& app, ListId list, std::size_t row, const std::string& path) {
  auto& rows = Rows(app, list);
  if (row >= rows.size()) return;
  VolumeLabels labels;
  FrontendScanHost host(app);
  FillContext context{app.columnMap, app.options, labels, host};
  const TrackRecord before = rows[row];
  (void)FillRow(rows[row], path, context);
  auto& others = Rows(app, list == ListId::Files ? ListId::Results : ListId::Files);
  const std::ptrdiff_t twin = FindEqualRow(others, before);
  if (twin >= 0) (void)FillRow(others[static_cast<std::size_t>(twin)], path, context);
  FilesChanged(app);
  app.filesSort.Clear();
  app.resultsSort.Clear();
  app.frontend.ListsChanged();
}

}  // namespace tonvault::catalogue
