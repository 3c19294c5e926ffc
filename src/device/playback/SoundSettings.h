#pragma once

#include <map>
#include <string>
#include <vector>

#include "device/session/DeviceSession.h"

namespace tonvault::device {

// The " Audio Settings " of a Jukebox as the page shows them: the sliders
// with the value shown and the value the player accepted, and the choices
// with their texts and the index chosen.
class SoundSettings {
 public:
  struct Slider {
    int value = 0;
    int accepted = 0;  // marked on the slider
  };
  struct Choice {
    std::vector<std::string> texts;
    int index = -1;
  };

  explicit SoundSettings(DeviceSession& session) : session_(session) {}

  // ReadSoundSettings: every list and value from the player, each read only
  // while the ones before succeeded; the status of the last step.
  Status Read();
  // A slider moved: the value is shown and sent; on success it is marked.
  void MoveSlider(SoundSetting setting, int value);
  // A choice changed, or "EQ Enabled" (index 0 or 1).
  void Choose(SoundSetting setting, int index);

  const Slider& SliderOf(SoundSetting setting) { return sliders_[setting]; }
  const Choice& ChoiceOf(SoundSetting setting) { return choices_[setting]; }
  bool EqEnabled() const { return eqEnabled_; }

  // The text beside a slider: "80 %", "-3 dB".
  static std::string SliderText(SoundSetting setting, int value);
  static bool IsSlider(SoundSetting setting);

 private:
  Status ReadChoice(Device& device, SoundSetting setting);
  Status ReadSlider(Device& device, SoundSetting setting);

  DeviceSession& session_;
  std::map<SoundSetting, Slider> sliders_;
  std::map<SoundSetting, Choice> choices_;
  bool eqEnabled_ = false;
};

}  // namespace tonvault::device
