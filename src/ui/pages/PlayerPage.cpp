#include "ui/pages/PlayerPage.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "ui/StatusIcons.h"

namespace tonvault::ui {

using device::SoundSetting;

namespace {
const char* const kButtonCaptions[] = {"&Play", "P&ause", "&Resume", "&Stop", "Pre&vious", "&Next", "Sh&uffle",
                                       "&Clear"};
}  // namespace

PlayerPage::PlayerPage(catalogue::Application& app, device::DeviceSession& session, QWidget* parent)
    : QWidget(parent), app_(app), session_(session), control_(app, session) {
  auto* layout = new QVBoxLayout(this);
  stack_ = new QStackedWidget(this);
  stack_->addWidget(Controls());
  cannotPlay_ = new QLabel(device::PlaybackControl::kCannotPlayText, stack_);
  cannotPlay_->setWordWrap(true);
  cannotPlay_->setAlignment(Qt::AlignCenter);
  stack_->addWidget(cannotPlay_);
  layout->addWidget(stack_);
  control_.changed = [this] { Show(); };
  Show();
}

QWidget* PlayerPage::Controls() {
  auto* page = new QWidget(this);
  auto* layout = new QHBoxLayout(page);
  auto* left = new QVBoxLayout;
  queue_ = new QTreeWidget(page);
  queue_->setHeaderLabels({"", "Title", "Artist"});
  queue_->setRootIsDecorated(false);
  queue_->header()->resizeSection(0, 28);
  queue_->header()->resizeSection(1, 220);
  left->addWidget(queue_, 1);
  auto* hint = new QLabel("Select music in FILES, RESULTS or QUICK COPY", page);
  left->addWidget(hint);
  bar_ = new SeekBar(page);
  bar_->SetRange(0, 100);
  bar_->SetLabelSuffix(" %");
  bar_->pressed = [this](int x, int width) { control_.PositionPressed(x, width); };
  bar_->moved = [this](int x, int width) { control_.PositionMoved(x, width); };
  bar_->released = [this] { control_.PositionReleased(); };
  left->addWidget(bar_);
  position_ = new QLabel(page);
  left->addWidget(position_);
  auto* buttons = new QGridLayout;
  int index = 0;
  for (const char* caption : kButtonCaptions) {
    auto* button = new QPushButton(caption, page);
    buttons_[caption] = button;
    buttons->addWidget(button, index / 5, index % 5);
    ++index;
  }
  repeat_ = new QPushButton("Repeat", page);
  repeat_->setCheckable(true);
  buttons->addWidget(repeat_, 1, 3);
  auto* help = new QPushButton("&Help", page);
  buttons->addWidget(help, 1, 4);
  left->addLayout(buttons);
  layout->addLayout(left, 1);
  layout->addWidget(AudioSettings(), 0, Qt::AlignTop);

  const auto on = [this](const char* caption, void (device::PlaybackControl::*click)()) {
    connect(buttons_.at(caption), &QPushButton::clicked, this, [this, click] { (control_.*click)(); });
  };
  on("&Play", &device::PlaybackControl::PlayClick);
  on("P&ause", &device::PlaybackControl::PauseClick);
  on("&Resume", &device::PlaybackControl::ResumeClick);
  on("&Stop", &device::PlaybackControl::StopClick);
  on("Pre&vious", &device::PlaybackControl::PreviousClick);
  on("&Next", &device::PlaybackControl::NextClick);
  on("&Clear", &device::PlaybackControl::ClearClick);
  connect(buttons_.at("Sh&uffle"), &QPushButton::clicked, this, [this] {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    control_.ShuffleClick();
    QApplication::restoreOverrideCursor();
  });
  connect(repeat_, &QPushButton::toggled, this, [this](bool down) { control_.RepeatClick(down); });
  connect(help, &QPushButton::clicked, this, [this] { emit HelpRequested(1800); });
  return page;
}

QWidget* PlayerPage::SliderRow(QWidget* parent, SoundSetting setting, int low, int high) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* slider = new QSlider(Qt::Horizontal, row);
  slider->setRange(low, high);
  auto* text = new QLabel(QString::fromStdString(device::SoundSettings::SliderText(setting, high)), row);
  text->setMinimumWidth(text->sizeHint().width());
  layout->addWidget(slider, 1);
  layout->addWidget(text);
  sliders_[setting] = {slider, text};
  connect(slider, &QSlider::valueChanged, this, [this, setting](int value) {
    if (showing_) return;
    control_.Sound().MoveSlider(setting, value);
    ShowSound();
  });
  return row;
}

QComboBox* PlayerPage::ChoiceBox(QWidget* parent, SoundSetting setting) {
  auto* box = new QComboBox(parent);
  box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  choices_[setting] = box;
  connect(box, &QComboBox::currentIndexChanged, this, [this, setting](int index) {
    if (!showing_ && index >= 0) control_.Sound().Choose(setting, index);
  });
  return box;
}

QWidget* PlayerPage::AudioSettings() {
  auto* group = new QGroupBox(" Audio Settings ", this);
  auto* layout = new QVBoxLayout(group);
  const auto box = [group, layout](const char* title) {
    auto* inner = new QGroupBox(title, group);
    auto* innerLayout = new QVBoxLayout(inner);
    layout->addWidget(inner);
    return std::pair{inner, innerLayout};
  };
  auto [environment, environmentLayout] = box(" Environmental Settings ");
  environmentLayout->addWidget(ChoiceBox(environment, SoundSetting::EaxEffect));
  environmentLayout->addWidget(SliderRow(environment, SoundSetting::EaxAmount, 0, 100));
  auto [volume, volumeLayout] = box(" Volume ");
  volumeLayout->addWidget(SliderRow(volume, SoundSetting::Volume, 0, 100));
  auto [equalizer, equalizerLayout] = box(" Parametric Equalizer ");
  auto* grid = new QGridLayout;
  int row = 0;
  for (auto [caption, setting] : {std::pair{"Bass", SoundSetting::Bass}, std::pair{"Mid", SoundSetting::Midrange},
                                  std::pair{"Treble", SoundSetting::Treble}}) {
    grid->addWidget(new QLabel(caption, equalizer), row, 0);
    grid->addWidget(SliderRow(equalizer, setting, -12, 12), row++, 1);
  }
  grid->addWidget(new QLabel("Mid Frequency   [Hz]", equalizer), row, 0);
  grid->addWidget(ChoiceBox(equalizer, SoundSetting::MidFrequency), row++, 1);
  equalizerLayout->addLayout(grid);
  eq_ = new QCheckBox("EQ Enabled", equalizer);
  connect(eq_, &QCheckBox::toggled, this, [this](bool on) {
    if (!showing_) control_.Sound().Choose(SoundSetting::EqActive, on ? 1 : 0);
  });
  equalizerLayout->addWidget(eq_);
  auto [spatial, spatialLayout] = box(" Spatialisation ");
  auto* spatialGrid = new QGridLayout;
  spatialGrid->addWidget(new QLabel("Headphone", spatial), 0, 0);
  spatialGrid->addWidget(ChoiceBox(spatial, SoundSetting::HeadphoneMode), 0, 1);
  spatialGrid->addWidget(new QLabel("Rear Speaker", spatial), 1, 0);
  spatialGrid->addWidget(ChoiceBox(spatial, SoundSetting::SpeakerMode), 1, 1);
  spatialLayout->addLayout(spatialGrid);
  layout->addStretch(1);
  return group;
}

QPushButton* PlayerPage::Button(const QString& caption) const {
  if (caption == "Repeat") return repeat_;
  const auto found = buttons_.find(caption);
  return found == buttons_.end() ? nullptr : found->second;
}

void PlayerPage::Opened() {
  control_.ShowPage();
  ShowSound();
  Show();
}

void PlayerPage::Show() {
  // Before the page was opened nothing is known of the player yet.
  stack_->setCurrentIndex(control_.CanPlay() || !session_.DeviceStarted() ? 0 : 1);
  queue_->clear();
  for (const device::QueueRow& row : control_.Rows()) {
    auto* item = new QTreeWidgetItem(queue_, {"", QString::fromStdString(row.title), QString::fromStdString(row.artist)});
    item->setData(0, Qt::UserRole, row.id);
    if (row.icon >= 0) item->setIcon(0, StatusIconFor(row.icon));
    if (row.id == device::PlaybackControl::kSeparatorId) {
      QFont bold = item->font(1);
      bold.setBold(true);
      item->setFont(1, bold);
      item->setFont(2, bold);
    }
  }
  const device::PlaybackButtons& enabled = control_.Buttons();
  const bool states[] = {enabled.play, enabled.pause,   enabled.resume,  enabled.stop,
                         enabled.previous, enabled.next, enabled.shuffle, enabled.clear};
  int index = 0;
  for (const char* caption : kButtonCaptions) buttons_.at(caption)->setEnabled(states[index++]);
  repeat_->setEnabled(enabled.repeat);
  bar_->setEnabled(enabled.positionBar);
  const auto [first, second] = control_.BarColours();
  bar_->SetColours(ProgressColourOf(first), ProgressColourOf(second));
  bar_->SetPositions(0, control_.Position());
  position_->setText(QString::fromStdString(control_.PositionText()));
}

void PlayerPage::ShowSound() {
  showing_ = true;
  device::SoundSettings& sound = control_.Sound();
  for (auto& [setting, parts] : sliders_) {
    const device::SoundSettings::Slider& slider = sound.SliderOf(setting);
    parts.first->setValue(slider.value);
    parts.second->setText(QString::fromStdString(device::SoundSettings::SliderText(setting, slider.value)));
    // The value the player accepted, when the one shown was refused.
    parts.first->setToolTip(slider.accepted == slider.value
                                ? QString()
                                : QString::fromStdString("Player: " +
                                                         device::SoundSettings::SliderText(setting, slider.accepted)));
  }
  for (auto& [setting, box] : choices_) {
    const device::SoundSettings::Choice& choice = sound.ChoiceOf(setting);
    box->clear();
    for (const std::string& text : choice.texts) box->addItem(QString::fromStdString(text));
    box->setCurrentIndex(choice.index);
  }
  eq_->setChecked(sound.EqEnabled());
  showing_ = false;
}

}  // namespace tonvault::ui
