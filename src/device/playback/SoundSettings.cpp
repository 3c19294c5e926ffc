#include "device/playback/SoundSettings.h"

namespace tonvault::device {

bool SoundSettings::IsSlider(SoundSetting setting) {
  return setting == SoundSetting::EaxAmount || setting == SoundSetting::Volume || setting == SoundSetting::Bass ||
         setting == SoundSetting::Midrange || setting == SoundSetting::Treble;
}

std::string SoundSettings::SliderText(SoundSetting setting, int value) {
  const bool percent = setting == SoundSetting::EaxAmount || setting == SoundSetting::Volume;
  return std::to_string(value) + (percent ? " %" : " dB");
}

Status SoundSettings::ReadChoice(Device& device, SoundSetting setting) {
  Choice& choice = choices_[setting];
  choice = {};
  std::string text;
  Status status = device.FindFirstSoundChoice(setting, text);
  for (; status == kOk; status = device.FindNextSoundChoice(setting, text)) choice.texts.push_back(text);
  if (status != kEndOfList) return status;
  return device.GetSound(setting, choice.index);
}

Status SoundSettings::ReadSlider(Device& device, SoundSetting setting) {
  int value = 0;
  const Status status = device.GetSound(setting, value);
  if (status == kOk) sliders_[setting] = {value, value};
  return status;
}

Status SoundSettings::Read() {
  choices_.clear();
  if (!session_.LibraryPresent()) return kNotOpen;
  Device& device = session_.CurrentDevice();
  Status status = ReadChoice(device, SoundSetting::EaxEffect);
  if (status == kOk) status = ReadSlider(device, SoundSetting::EaxAmount);
  if (status == kOk) status = ReadChoice(device, SoundSetting::MidFrequency);
  for (SoundSetting slider : {SoundSetting::Volume, SoundSetting::Bass, SoundSetting::Midrange, SoundSetting::Treble}) {
    if (status == kOk) status = ReadSlider(device, slider);
  }
  if (status == kOk) {
    int eq = 0;
    status = device.GetSound(SoundSetting::EqActive, eq);
    eqEnabled_ = status == kOk && eq != 0;
  }
  if (status == kOk) status = ReadChoice(device, SoundSetting::HeadphoneMode);
  if (status == kOk) status = ReadChoice(device, SoundSetting::SpeakerMode);
  return status;
}

void SoundSettings::MoveSlider(SoundSetting setting, int value) {
  Slider& slider = sliders_[setting];
  slider.value = value;
  if (session_.LibraryPresent() && session_.CurrentDevice().SetSound(setting, value) == kOk) slider.accepted = value;
}

void SoundSettings::Choose(SoundSetting setting, int index) {
  if (setting == SoundSetting::EqActive) {
    eqEnabled_ = index != 0;
  } else {
    choices_[setting].index = index;
  }
  if (session_.LibraryPresent()) session_.CurrentDevice().SetSound(setting, index);
}

}  // namespace tonvault::device
