#include "ui/pages/TagOptionsPanel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "audio/CodePages.h"
#include "ui/QtDialogs.h"

namespace tonvault::ui {

namespace {
constexpr const char* kRenameListLabel =
    "Move items with the mouse.\n\r\rLines below the separator\n\rare not used for renaming";
constexpr const char* kExtractListLabel =
    "Move items with the mouse.\n\r\rLines below the separator\n\rare not used for extracting";
constexpr const char* kCodePageHint =
    "The code page of ID3v1 tags, of ID3v2 texts stored without Unicode and of old catalogue files.\n"
    "Choose the one your old tags were written in (Windows-1251 for Cyrillic, say).\n"
    "It changes how existing tags are shown, not the files: import the files again, or open them\n"
    "in the editor, to see them with the new code page.";
constexpr const char* kPlaceholders = "%a\tArtist\n\r%A\tAlbum\n\r%t\tTitle\n\r%T\tTrack\n\r%y\tYear\n\r%g\tGenre\n\r%c\tComment";

QVBoxLayout* Column(QWidget* widget) {
  auto* column = new QVBoxLayout(widget);
  column->setContentsMargins(0, 0, 0, 0);
  return column;
}
}  // namespace

TagOptionsPanel::TagOptionsPanel(catalogue::Options& options, OptionControls& controls,
                                 catalogue::Frontend& frontend, QWidget* parent)
    : QWidget(parent), options_(options), controls_(controls), frontend_(frontend) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* left = new QVBoxLayout;
  left->addWidget(Renaming());
  left->addWidget(Extracting());
  left->addStretch(1);
  auto* right = new QVBoxLayout;
  right->addWidget(Editor());
  right->addWidget(Analysis());
  right->addStretch(1);
  layout->addLayout(left);
  layout->addLayout(right);
}

QWidget* TagOptionsPanel::Renaming() {
  catalogue::RenameOptions& rename = options_.rename;
  auto* group = new QGroupBox(" Rename files ", this);
  auto* column = new QVBoxLayout(group);
  auto* standard = RenameItems(group);
  auto* advancedSheet = RenameFormat(group);
  auto* advanced = new QPushButton("Advanced Renaming", group);
  advanced->setToolTip("Renaming with a format string");
  advanced->setCheckable(true);
  advanced->setChecked(rename.advanced);
  const auto showSheet = [standard, advancedSheet](bool down) {
    standard->setVisible(!down);
    advancedSheet->setVisible(down);
  };
  connect(advanced, &QPushButton::toggled, this, [&rename, showSheet](bool down) {
    rename.advanced = down;
    showSheet(down);
  });
  showSheet(rename.advanced);
  column->addWidget(controls_.VersionChoice(group, " Use ID3-Tag version ", rename.tagVersion));
  column->addWidget(standard);
  column->addWidget(advancedSheet);
  column->addWidget(advanced);
  return group;
}

QWidget* TagOptionsPanel::RenameItems(QWidget* parent) {
  catalogue::RenameOptions& rename = options_.rename;
  auto* sheet = new QWidget(parent);
  auto* row = new QHBoxLayout(sheet);
  row->setContentsMargins(0, 0, 0, 0);
  auto* list = new QWidget(sheet);
  renameOrder_ = new ItemOrderList(frontend_, rename.order, list);
  Column(list)->addWidget(renameOrder_);
  list->layout()->addWidget(new QLabel(DisplayText(kRenameListLabel), list));
  auto* fields = new QWidget(sheet);
  auto* form = new QFormLayout(fields);
  form->setContentsMargins(0, 0, 0, 0);
  QLineEdit* separator = controls_.Edit(fields, rename.separator);
  separator->setToolTip("String for separating items (can contain spaces)");
  form->addRow("Separator", separator);
  substitute_ = new QLineEdit(QString::fromStdString(rename.substitute), fields);
  substitute_->setMaxLength(1);
  substitute_->setToolTip("Substitute for illegal characters like * ? / \\ < > :");
  connect(substitute_, &QLineEdit::textChanged, this, &TagOptionsPanel::GuardSubstitute);
  form->addRow("Substitute character", substitute_);
  QSpinBox* digits = controls_.Spin(fields, rename.trackDigits, 1, 4, 1);
  digits->setToolTip("Additional digits are filled with leading 0s");
  form->addRow("Track digits", digits);
  row->addWidget(list);
  row->addWidget(fields, 0, Qt::AlignTop);
  return sheet;
}

QWidget* TagOptionsPanel::RenameFormat(QWidget* parent) {
  auto* sheet = new QWidget(parent);
  auto* form = new QFormLayout(sheet);
  form->setContentsMargins(0, 0, 0, 0);
  form->addRow("Format String:", controls_.Edit(sheet, options_.rename.format));
  form->addRow(new QLabel(DisplayText(kPlaceholders), sheet));
  return sheet;
}

QWidget* TagOptionsPanel::Extracting() {
  catalogue::RenameOptions& rename = options_.rename;
  auto* group = new QGroupBox(" Extract filenames ", this);
  auto* row = new QHBoxLayout(group);
  auto* list = new QWidget(group);
  Column(list)->addWidget(new ItemOrderList(frontend_, rename.extractOrder, list));
  list->layout()->addWidget(new QLabel(DisplayText(kExtractListLabel), list));
  auto* fields = new QWidget(group);
  auto* column = Column(fields);
  auto* form = new QFormLayout;
  const char* captions[] = {"Separator 1", "Separator 2", "Separator 3"};
  for (std::size_t i = 0; i < 3; ++i) {
    QLineEdit* edit = controls_.Edit(fields, rename.extractSeparators[i]);
    edit->setToolTip("Items are separated by this string (can contain spaces / not used if empty)");
    form->addRow(captions[i], edit);
  }
  column->addLayout(form);
  controls_.Box(fields, "Override existing items", rename.extractOverride)->setToolTip("Replaces existing tag info");
  column->addWidget(controls_.VersionChoice(fields, " To ID3-Tag version ", rename.extractTagVersion));
  column->addStretch(1);
  row->addWidget(list);
  row->addWidget(fields);
  return group;
}

QWidget* TagOptionsPanel::Editor() {
  catalogue::Id3Options& id3 = options_.id3;
  auto* group = new QGroupBox(" ID3 - Editor ", this);
  auto* column = new QVBoxLayout(group);
  controls_.Box(group, "Enter = Save", id3.enterSave);
  controls_.Box(group, "Show next file after save", id3.nextSave);
  editorKeepDate_ = controls_.Box(group, "Keep original file date", id3.keepOriginalFileDate);
  auto* numbers = new QFormLayout;
  QSpinBox* start = controls_.Spin(group, id3.trackNumberStart, 1, 1000, 1);
  start->setToolTip("Value will not be saved");
  numbers->addRow("Start with", start);
  QSpinBox* digits = controls_.Spin(group, id3.trackNumberDigits, 1, 4, 1);
  digits->setToolTip("Additional digits are filled with leading 0s");
  numbers->addRow("Digits (ID3V2 only)", digits);
  numbers->addRow(DisplayText("Extra space in new\n\rID3V2-Tags"), controls_.Spin(group, id3.extraSpace, 0, 1000, 25));
  numbers->addRow("Code page of old tags", CodePageChoice(group));
  column->addLayout(numbers);
  return group;
}

QComboBox* TagOptionsPanel::CodePageChoice(QWidget* parent) {
  catalogue::Id3Options& id3 = options_.id3;
  auto* choice = new QComboBox(parent);
  for (audio::CodePage page : audio::CodePages()) {
    const std::string_view name = audio::CodePageName(page);
    choice->addItem(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  }
  choice->setCurrentText(QString::fromStdString(id3.codePage));
  choice->setToolTip(kCodePageHint);
  connect(choice, &QComboBox::currentTextChanged, this, [&id3](const QString& name) {
    id3.codePage = name.toStdString();
    catalogue::UseLegacyCodePage(id3);
  });
  return choice;
}

void TagOptionsPanel::CheckWithAutoFix(QWidget* group, const char* caption, bool& check, bool& autoFix) {
  QCheckBox* checkBox = controls_.Box(group, caption, check);
  auto* row = new QHBoxLayout;
  row->addSpacing(24);
  QCheckBox* fix = controls_.Check(group, "Auto fix on check", autoFix);
  row->addWidget(fix);
  static_cast<QVBoxLayout*>(group->layout())->addLayout(row);
  fix->setEnabled(check);
  connect(checkBox, &QCheckBox::toggled, fix, &QCheckBox::setEnabled);
}

QWidget* TagOptionsPanel::Analysis() {
  catalogue::AnalyzeOptions& analyze = options_.analyze;
  auto* group = new QGroupBox(" MP3 Analysis / Fix ", this);
  new QVBoxLayout(group);
  CheckWithAutoFix(group, "Space at beginning", analyze.beginSpace, analyze.beginAutoFix);
  CheckWithAutoFix(group, "Space at end of file", analyze.endSpace, analyze.endAutoFix);
  controls_.Box(group, "Change of MPEG version", analyze.mpegChange);
  controls_.Box(group, "Cange of MPEG layer", analyze.layerChange);
  controls_.Box(group, "Sample frequency change", analyze.frequencyChange);
  controls_.Box(group, "Mode change", analyze.modeChange);
  controls_.Box(group, "\"Bad\" MP3-frames", analyze.badFrames);
  repairKeepDate_ = controls_.Box(group, "Keep original file date", analyze.keepOriginalFileDate);
  return group;
}

void TagOptionsPanel::GuardSubstitute() {
  if (catalogue::TakeSubstitute(frontend_, substitute_->text().toStdString(), options_.rename)) return;
  const QSignalBlocker blocker(substitute_);
  substitute_->setText(QString::fromStdString(options_.rename.substitute));
}

}  // namespace tonvault::ui
