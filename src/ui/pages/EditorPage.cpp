#include "ui/pages/EditorPage.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QValidator>
#include <QVBoxLayout>

#include "ui/DragScroll.h"
#include "ui/QtDialogs.h"

namespace tonvault::ui {

using tagging::Field;
using tagging::Mark;
using tagging::TrackBox;
using tagging::Version;

namespace {

QString Qs(const std::string& text) { return QString::fromStdString(text); }

constexpr std::array<const char*, tagging::kFieldCount> kFieldCaptions = {"Title", "Artist", "Album", "Year",
                                                                         "Comment", "Track", "Genre"};
// The hints of the V2 → V1 copy buttons say what the copy cuts.
constexpr std::array<const char*, tagging::kFieldCount> kCopyToV1Hints = {
    "Truncates length to 30 char", "Truncates length to 30 char", "Truncates length to 30 char",
    "Truncates length to 4 char",  "Truncates length to 28 char", "Only 1 - 127",
    "Only if available in V 1 catalog"};

std::size_t Index(Field field) { return static_cast<std::size_t>(field); }

// Refuses V1 input that the ID3v1 writer could not store: the widths count
// the bytes of the tag's single-byte code page, not UTF-8 bytes.
class V1FieldValidator : public QValidator {
 public:
  V1FieldValidator(Field field, QObject* parent) : QValidator(parent), field_(field) {}
  State validate(QString& input, int&) const override {
    return tagging::FitsV1Field(field_, input.toStdString()) ? Acceptable : Invalid;
  }

 private:
  Field field_;
};

Qt::CheckState CheckStateOf(TrackBox box) {
  switch (box) {
    case TrackBox::Take: return Qt::Unchecked;
    case TrackBox::Clear: return Qt::PartiallyChecked;
    case TrackBox::Auto: return Qt::Checked;
  }
  return Qt::Unchecked;
}

void SetTextKeepingCursor(QLineEdit* edit, const QString& text) {
  if (edit->text() != text) edit->setText(text);
}

QPushButton* Toggle(QWidget* parent, const QString& caption, const QString& hint = {}) {
  auto* button = new QPushButton(caption, parent);
  button->setCheckable(true);
  if (!hint.isEmpty()) button->setToolTip(hint);
  return button;
}

// A down toggle is also drawn bold: some styles shade a pressed button so
// little on a dark palette that its state is hard to see.
void SetToggle(QPushButton* button, bool down) {
  const QSignalBlocker blocker(button);
  button->setChecked(down);
  QFont font = button->font();
  if (font.bold() != down) {
    font.setBold(down);
    button->setFont(font);
  }
}

}  // namespace

EditorPage::EditorPage(catalogue::Application& app, tagging::TagEditor& editor, QWidget* parent)
    : QWidget(parent), app_(app), editor_(editor) {
  auto* layout = new QVBoxLayout(this);
  fileLine_ = new QLabel(this);
  fileLine_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(fileLine_);
  // The two groups and the frame list scroll when the window is low; the
  // file line and the buttons stay in sight.
  scroll_ = new QScrollArea(this);
  QScrollArea* scroll = scroll_;
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* content = new QWidget(scroll);
  auto* contentLayout = new QVBoxLayout(content);
  contentLayout->setContentsMargins(0, 0, 0, 0);
  groups_ = contentLayout;
  contentLayout->addWidget(BuildVersion(Version::V1, content));
  contentLayout->addWidget(BuildVersion(Version::V2, content));

  extended_ = new QGroupBox(" Extended ID3-V2 Info ", content);
  auto* extendedLayout = new QVBoxLayout(extended_);
  frames_ = new QTableWidget(0, 4, extended_);
  frames_->setHorizontalHeaderLabels({"Tag", "Frame", "Length", "Content"});
  frames_->verticalHeader()->hide();
  frames_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  frames_->horizontalHeader()->setStretchLastSection(true);
  frames_->setWordWrap(false);
  for (int column = 0; column < 3; ++column) {
    frames_->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  }
  extendedLayout->addWidget(frames_);
  frames_->setMinimumHeight(160);
  extended_->setVisible(false);
  contentLayout->addWidget(extended_, 1);
  contentLayout->addStretch(0);
  scroll->setWidget(content);
  DragScroll::Install(scroll);
  layout->addWidget(scroll, 1);

  keepDate_ = new QCheckBox("Keep original file date  (ID3 V1 and V2)", this);
  keepDate_->setChecked(app_.options.id3.keepOriginalFileDate);
  connect(keepDate_, &QCheckBox::toggled, this, [this](bool on) { editor_.SetKeepFileDate(on); });
  layout->addWidget(keepDate_);
  layout->addWidget(BuildButtons());

  editor_.SetListener([this] { Redraw(); });
  Redraw();
}

QGroupBox* EditorPage::BuildVersion(Version version, QWidget* parent) {
  const bool v1 = version == Version::V1;
  VersionWidgets& w = v1 ? v1_ : v2_;
  w.group = new QGroupBox(v1 ? " ID3 - Tag  Version  1 " : " ID3 - Tag  Version  2 ", parent);
  auto* grid = new QGridLayout(w.group);
  grid->setVerticalSpacing(3);
  grid->addWidget(new QLabel("In the file", w.group), 0, 1);
  grid->addWidget(new QLabel("New value", w.group), 0, 2);
  for (Field field : tagging::kAllFields) {
    const std::size_t i = Index(field);
    const int row = static_cast<int>(i) + 1;
    grid->addWidget(new QLabel(kFieldCaptions[i], w.group), row, 0);
    auto* panel = new QLineEdit(w.group);
    panel->setReadOnly(true);
    panel->setFocusPolicy(Qt::ClickFocus);
    w.panels[i] = panel;
    grid->addWidget(panel, row, 1);

    if (v1 && field == Field::Genre) {
      v1Genre_ = new QComboBox(w.group);
      for (const std::string& entry : tagging::V1GenreEntries()) v1Genre_->addItem(Qs(entry));
      v1Genre_->setMaxVisibleItems(20);
      connect(v1Genre_, &QComboBox::activated, this,
              [this](int index) { editor_.ChooseV1Genre(v1Genre_->itemText(index).toStdString()); });
      grid->addWidget(v1Genre_, row, 2);
    } else if (v1 && field == Field::Track) {
      v1Track_ = new QSpinBox(w.group);
      v1Track_->setRange(0, 127);
      v1Track_->setSpecialValueText(" ");  // 0 is shown as an empty field
      connect(v1Track_, &QSpinBox::valueChanged, this, [this](int value) { editor_.SetV1Track(value); });
      grid->addWidget(v1Track_, row, 2);
    } else {
      auto* edit = new QLineEdit(w.group);
      if (v1) edit->setValidator(new V1FieldValidator(field, edit));
      connect(edit, &QLineEdit::textEdited, this,
              [this, version, field](const QString& text) { editor_.TypeValue(version, field, text.toStdString()); });
      w.edits[i] = edit;
      grid->addWidget(edit, row, 2);
    }

    auto* copy = new QToolButton(w.group);
    copy->setArrowType(v1 ? Qt::DownArrow : Qt::UpArrow);
    copy->setToolTip(v1 ? QString("Copy to V 2") : QString(kCopyToV1Hints[i]));
    copy->setFocusPolicy(Qt::NoFocus);
    connect(copy, &QToolButton::clicked, this, [this, version, field] { editor_.CopyField(version, field); });
    w.copies[i] = copy;
    grid->addWidget(copy, row, 3);

    auto* keep = new QCheckBox(field == Field::Track ? QString(tagging::TrackBoxCaption(TrackBox::Take).data())
                                                     : QString("keep content"),
                               w.group);
    if (field == Field::Track) {
      keep->setTristate(true);
      connect(keep, &QCheckBox::clicked, this, [this, version] { editor_.ClickTrackBox(version); });
    } else {
      connect(keep, &QCheckBox::clicked, this, [this, version, field] { editor_.ClickKeep(version, field); });
    }
    // The widest caption any box can show, so the two groups line up.
    keep->setMinimumWidth(keep->sizeHint().width() + keep->fontMetrics().horizontalAdvance("keep content") -
                          keep->fontMetrics().horizontalAdvance(keep->text()));
    w.keeps[i] = keep;
    grid->addWidget(keep, row, 4);
  }
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(2, 1);

  auto* switches = new QVBoxLayout;
  w.switches = new QLabel("Switches", w.group);
  switches->addWidget(w.switches);
  w.saveChanges = Toggle(w.group, "Save changes", "Save only with button down");
  w.removeTag = Toggle(w.group, "Remove Tag");
  w.copyAll = Toggle(w.group, v1 ? "Copy to V 2" : "Copy to V 1");
  connect(w.saveChanges, &QPushButton::clicked, this, [this, version](bool down) { editor_.SetSaveChanges(version, down); });
  connect(w.removeTag, &QPushButton::clicked, this, [this, version](bool down) { editor_.SetRemoveTag(version, down); });
  connect(w.copyAll, &QPushButton::clicked, this, [this, v1](bool down) {
    if (v1) {
      editor_.SetCopyToV2(down);
    } else {
      editor_.SetCopyToV1(down);
    }
  });
  for (QPushButton* button : {w.saveChanges, w.removeTag}) switches->addWidget(button);
  const int switchWidth = w.saveChanges->fontMetrics().horizontalAdvance("Keep old content") + 24;
  if (!v1) {
    keepOld_ = Toggle(w.group, "Keep old content",
                      DisplayText("Keeps old additional info in the tag\n\r(Only Ver. 2.3.0 or newer)"));
    connect(keepOld_, &QPushButton::clicked, this, [this](bool down) { editor_.SetKeepOldContent(down); });
    switches->addWidget(keepOld_);
  }
  switches->addWidget(w.copyAll);
  if (!v1) {
    more_ = Toggle(w.group, "More");
    connect(more_, &QPushButton::clicked, this, [this](bool down) {
      editor_.SetMore(down);
      // The frame list opens below the groups: bring it into sight.
      if (down) {
        QApplication::processEvents();
        scroll_->ensureWidgetVisible(extended_);
      }
    });
    switches->addWidget(more_);
  }
  switches->addStretch(1);
  for (QPushButton* button : w.group->findChildren<QPushButton*>()) button->setMinimumWidth(switchWidth);
  grid->addLayout(switches, 0, 5, tagging::kFieldCount + 1, 1);
  return w.group;
}

QWidget* EditorPage::BuildButtons() {
  auto* panel = new QWidget(this);
  auto* row = new QHBoxLayout(panel);
  // Six equal buttons: 10 pixels at each side and between them, so each is
  // (panel width - 70) / 6 wide.
  row->setContentsMargins(10, 4, 10, 4);
  row->setSpacing(10);
  readAgain_ = new QPushButton("&Read again", panel);
  first_ = new QPushButton("&First", panel);
  previous_ = new QPushButton("&Previous", panel);
  next_ = new QPushButton("&Next", panel);
  save_ = new QPushButton("&Save", panel);
  saveAll_ = new QPushButton("Save &All", panel);
  for (QPushButton* button : {readAgain_, first_, previous_, next_, save_, saveAll_}) {
    button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    button->setMinimumWidth(60);
    row->addWidget(button, 1);
  }
  save_->setEnabled(false);
  saveAll_->setEnabled(false);
  connect(readAgain_, &QPushButton::clicked, this, [this] { editor_.ReadAgain(); });
  connect(first_, &QPushButton::clicked, this, [this] { editor_.First(); });
  connect(previous_, &QPushButton::clicked, this, [this] { editor_.Previous(); });
  connect(next_, &QPushButton::clicked, this, [this] { editor_.Next(); });
  connect(save_, &QPushButton::clicked, this, [this] {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    editor_.Save();
    QApplication::restoreOverrideCursor();
  });
  connect(saveAll_, &QPushButton::clicked, this, [this] { editor_.SaveAll(); });
  return panel;
}

QLineEdit* EditorPage::NewValue(Version version, Field field) const { return Widgets(version).edits[Index(field)]; }

void EditorPage::ColourByMark(QWidget* widget, Mark mark) {
  // Red and blue as the page's palette can show them: darker on a light
  // base, lighter on a dark one.
  const QPalette& base = palette();
  const bool dark = base.color(QPalette::Base).lightness() < 128;
  QColor colour = base.color(QPalette::Text);
  if (mark == Mark::Changed) colour = dark ? QColor(255, 120, 120) : QColor(200, 0, 0);
  if (mark == Mark::Equal) colour = dark ? QColor(130, 180, 255) : QColor(0, 0, 210);
  QPalette own = widget->palette();
  if (own.color(QPalette::Text) == colour && own.color(QPalette::ButtonText) == colour) return;
  own.setColor(QPalette::Text, colour);
  own.setColor(QPalette::ButtonText, colour);
  widget->setPalette(own);
}

void EditorPage::RedrawVersion(Version version) {
  const VersionWidgets& w = Widgets(version);
  const tagging::VersionState& state = editor_.Of(version);
  for (Field field : tagging::kAllFields) {
    const std::size_t i = Index(field);
    SetTextKeepingCursor(w.panels[i], Qs(state.Panel(field)));
    w.panels[i]->setCursorPosition(0);
    w.panels[i]->setEnabled(state.tagFound);
    QWidget* valueWidget = w.edits[i];
    if (w.edits[i] != nullptr) {
      const QSignalBlocker blocker(w.edits[i]);
      SetTextKeepingCursor(w.edits[i], Qs(state.Value(field)));
    } else if (field == Field::Genre) {
      const QSignalBlocker blocker(v1Genre_);
      v1Genre_->setCurrentIndex(std::max(0, v1Genre_->findText(Qs(state.Value(field)), Qt::MatchExactly)));
      valueWidget = v1Genre_;
    } else {
      const QSignalBlocker blocker(v1Track_);
      v1Track_->setValue(tagging::V1TrackNumber(state.Value(field)));
      valueWidget = v1Track_;
    }
    ColourByMark(valueWidget, state.MarkOf(field));
    QCheckBox* keep = w.keeps[i];
    const QSignalBlocker blocker(keep);
    if (field == Field::Track) {
      keep->setCheckState(CheckStateOf(state.trackBox));
      keep->setText(QString(tagging::TrackBoxCaption(state.trackBox).data()));
    } else {
      keep->setChecked(state.Keep(field));
    }
  }
  SetToggle(w.saveChanges, state.saveChanges);
  SetToggle(w.removeTag, state.removeTag);
  SetToggle(w.copyAll, version == Version::V1 ? editor_.CopyToV2() : editor_.CopyToV1());
  w.group->setEnabled(!editor_.FileMissing());
}

void EditorPage::ApplyPlayerTagLayout(bool playerTags) {
  v2_.group->setTitle(playerTags ? " Tag on Nomad Jukebox " : " ID3 - Tag  Version  2 ");
  const int wanted = playerTags ? 0 : 1;
  if (groups_->indexOf(v2_.group) != wanted) {
    groups_->removeWidget(v2_.group);
    groups_->insertWidget(wanted, v2_.group);
  }
  for (QWidget* widget : std::initializer_list<QWidget*>{fileLine_, v1_.group, v2_.copyAll, v2_.saveChanges, v2_.removeTag,
                                                         keepOld_, more_, v2_.switches, v2_.keeps[Index(Field::Title)]}) {
    widget->setVisible(!playerTags);
  }
  for (QToolButton* copy : v2_.copies) {
    if (copy != nullptr) copy->setVisible(!playerTags);
  }
}

void EditorPage::Redraw() {
  // During "Save &All" the page shows only the progress; it is drawn once at the end.
  if (editor_.SaveAllRunning()) return;
  ApplyPlayerTagLayout(editor_.PlayerTagMode());
  fileLine_->setText(Qs(editor_.FileLine()));
  QPalette linePalette = palette();
  if (editor_.FileMissing()) {
    const bool dark = linePalette.color(QPalette::Base).lightness() < 128;
    linePalette.setColor(QPalette::WindowText, dark ? QColor(255, 120, 120) : QColor(200, 0, 0));
  }
  fileLine_->setPalette(linePalette);
  RedrawVersion(Version::V1);
  RedrawVersion(Version::V2);
  SetToggle(keepOld_, editor_.KeepOldContent());
  SetToggle(more_, editor_.More());
  extended_->setVisible(editor_.More() && !editor_.PlayerTagMode());
  extended_->setTitle(Qs(editor_.ExtendedCaption()));
  const auto& rows = editor_.Frames();
  frames_->setRowCount(static_cast<int>(rows.size()));
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const std::array<std::string, 4> cells = {rows[r].id, rows[r].frameName, rows[r].lengthText, rows[r].content};
    for (int c = 0; c < 4; ++c) {
      frames_->setItem(static_cast<int>(r), c, new QTableWidgetItem(Qs(cells[static_cast<std::size_t>(c)])));
    }
  }
  {
    const QSignalBlocker blocker(keepDate_);
    keepDate_->setChecked(app_.options.id3.keepOriginalFileDate);
  }
  save_->setEnabled(editor_.SaveEnabled());
  saveAll_->setEnabled(editor_.SaveEnabled());
  previous_->setEnabled(editor_.PreviousEnabled());
  next_->setEnabled(editor_.NextEnabled());

  if (editor_.EntriesShown() != focusedEntry_ && isVisible() && app_.commandStateCode != 0) {
    focusedEntry_ = editor_.EntriesShown();
    if (editor_.Focus() == tagging::EditorFocus::V2Title) v2_.edits[Index(Field::Title)]->setFocus();
    if (editor_.Focus() == tagging::EditorFocus::V1Title) v1_.edits[Index(Field::Title)]->setFocus();
  }
}

void EditorPage::keyPressEvent(QKeyEvent* event) {
  // The value fields pass Enter on; with "Enter = Save" it presses "&Save".
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && app_.options.id3.enterSave && save_->isEnabled()) {
    save_->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

void EditorPage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Redraw();
}

}  // namespace tonvault::ui
