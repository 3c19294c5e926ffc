#pragma once

#include <QWidget>

#include "catalogue/Page.h"

namespace tonvault::ui {

// A page whose content is not in this version yet: it names the page and
// says what it will hold, so the window is complete and honest meanwhile.
class PlaceholderPage : public QWidget {
  Q_OBJECT
 public:
  explicit PlaceholderPage(catalogue::Page page, QWidget* parent = nullptr);

  // What the page is for, in one sentence.
  static QString Purpose(catalogue::Page page);
};

}  // namespace tonvault::ui
