#pragma once

#include <QLabel>
#include <QWidget>
#include <vector>

#include "catalogue/Application.h"
#include "ui/HistogramWidget.h"

namespace tonvault::ui {

// The Statistics page: the figures in their groups and the histogram.
class StatisticsPage : public QWidget {
  Q_OBJECT
 public:
  StatisticsPage(catalogue::Application& app, QWidget* parent = nullptr);
  // Shows the figures of the catalogue state.
  void Reload();
  QString FigureText(const QString& caption) const;

 private:
  struct Figure {
    QString caption;
    std::string catalogue::StatisticsData::* value;
    QLabel* label;
  };
  catalogue::Application& app_;
  std::vector<Figure> figures_;
  HistogramWidget* histogram_;
};

}  // namespace tonvault::ui
