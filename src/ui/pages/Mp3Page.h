#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWidget>

#include "catalogue/Application.h"
#include "catalogue/repair/AnalysisPage.h"
#include "ui/analysis/BitrateHistogram.h"
#include "ui/analysis/BitrateScale.h"
#include "ui/analysis/FramePicture.h"

namespace tonvault::ui {

// The MP3 page (no tab): one analysed file's texts, its frame list with
// check boxes, the fix controls, the frame picture with its scale and zoom,
// and the bitrate histogram. The page shows `catalogue::AnalysisPage` and
// forwards clicks to it; what the controls allow is decided there.
class Mp3Page : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kZoomSteps[] = {1, 2, 5, 10, 20, 40};

  Mp3Page(catalogue::Application& app, QWidget* parent = nullptr);

  // "Analyze / Fix  MP3": analyses the first selected row of `list`.
  void AnalyzeSelected(catalogue::ListId list);
  // "Analyze / Fix  MP3" of a file named by its path (the Quick Copy page).
  void AnalyzePath(const std::string& path);
  // Shows the state after an analysis (zoom back to 1).
  void ShowAnalysis();
  catalogue::AnalysisPage& State() { return state_; }
  QCheckBox* KeepDateBox() const { return keepDate_; }
  QTreeWidget* FrameList() const { return list_; }
  FramePicture* Picture() const { return picture_; }
  BitrateHistogram* Histogram() const { return histogram_; }
  QPushButton* FixButton() const { return fix_; }
  QPushButton* ZoomInButton() const { return zoomIn_; }
  QPushButton* ZoomOutButton() const { return zoomOut_; }
  QLabel* ZoomText() const { return zoomText_; }
  QCheckBox* BeforeBox() const { return before_; }
  QCheckBox* FramesBox() const { return frames_; }
  void ZoomBy(int steps);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildTexts(QVBoxLayout* outer);
  void BuildListAndFix(QVBoxLayout* outer);
  void BuildPictures(QVBoxLayout* outer);
  void FillList();
  // The fix controls and the option boxes from the state.
  void UpdateControls();
  void FitPicture();
  void Fix();

  catalogue::Application& app_;
  catalogue::AnalysisPage state_;
  int zoomIndex_ = 0;

  QLabel* fileName_ = nullptr;
  QLabel* id3v1_ = nullptr;
  QLabel* id3v2Length_ = nullptr;
  QLabel* id3v2Version_ = nullptr;
  QLabel* firstFrame_ = nullptr;
  QLabel* badFrames_ = nullptr;
  QLabel* endSpace_ = nullptr;
  QTreeWidget* list_ = nullptr;
  QCheckBox* before_ = nullptr;
  QCheckBox* after_ = nullptr;
  QCheckBox* frames_ = nullptr;
  QLabel* beforeLabel_ = nullptr;
  QLabel* afterLabel_ = nullptr;
  QCheckBox* keepCopy_ = nullptr;
  QCheckBox* keepDate_ = nullptr;
  QPushButton* fix_ = nullptr;
  QScrollArea* pictureArea_ = nullptr;
  FramePicture* picture_ = nullptr;
  BitrateScale* scale_ = nullptr;
  BitrateHistogram* histogram_ = nullptr;
  QPushButton* zoomIn_ = nullptr;
  QPushButton* zoomOut_ = nullptr;
  QLabel* zoomText_ = nullptr;
  QLabel* time_ = nullptr;
};

}  // namespace tonvault::ui
