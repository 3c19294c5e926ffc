#pragma once

#include "catalogue/Application.h"
#include "device/content/PlayerContent.h"
#include "device/session/DeviceSession.h"
#include "device/tags/PlayerTagUpdate.h"
#include "tagging/editor/TagEditor.h"

namespace tonvault::ui {

// The editor's way to the player: opening and leaving the player-tag mode
// start and stop the player, and a save writes the V2 values of the entry
// on display to its track.
class PlayerTagControl : public tagging::PlayerTags {
 public:
  PlayerTagControl(catalogue::Application& app, device::DeviceSession& session, device::PlayerContent& content)
      : app_(app), session_(session), content_(content), update_(app, session, content) {}

  bool StartDevice() override;
  void StopDevice() override;
  bool SavePlayerTags(const tagging::EditEntry& entry, tagging::VersionState& values) override;

  // "&Update Tags on NJB".
  void UpdateTagsOnNjb() { update_.UpdateTagsOnNjb(); }

 private:
  catalogue::Application& app_;
  device::DeviceSession& session_;
  device::PlayerContent& content_;
  device::PlayerTagUpdate update_;
};

}  // namespace tonvault::ui
