#include "ui/PlayerTagControl.h"

#include "device/tags/PlayerTagSave.h"

namespace tonvault::ui {

using tagging::Field;

bool PlayerTagControl::StartDevice() {
  session_.SetDeviceReady(session_.StartDevice(true));
  return session_.DeviceReady();
}

void PlayerTagControl::StopDevice() { session_.SetDeviceReady(session_.StopDevice(false, false)); }

bool PlayerTagControl::SavePlayerTags(const tagging::EditEntry& entry, tagging::VersionState& values) {
  device::PlayerTagValues tags{values.Value(Field::Title),   values.Value(Field::Artist), values.Value(Field::Album),
                               values.Value(Field::Year),    values.Value(Field::Comment),
                               values.Value(Field::Track),   values.Value(Field::Genre)};
  const auto list = entry.source == 'R' ? catalogue::ListId::Results : catalogue::ListId::Files;
  const bool ready = device::SavePlayerTags(app_, session_, content_, list, entry.row, tags);
  values.Value(Field::Title) = tags.title;
  values.Value(Field::Artist) = tags.artist;
  values.Value(Field::Album) = tags.album;
  values.Value(Field::Year) = tags.year;
  values.Value(Field::Comment) = tags.comment;
  values.Value(Field::Track) = tags.track;
  values.Value(Field::Genre) = tags.genre;
  return ready;
}

}  // namespace tonvault::ui
