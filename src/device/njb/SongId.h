#pragma once

#include <libnjb.h>

#include <memory>

#include "device/DeviceTypes.h"

namespace tonvault::device {

struct SongIdDeleter {
  void operator()(njb_songid_t* song) const { NJB_Songid_Destroy(song); }
};
using SongIdPointer = std::unique_ptr<njb_songid_t, SongIdDeleter>;

// A Jukebox's track tag (a list of labelled frames) made from the audio
// info a track is sent or retagged with. Empty texts and zero numbers get
// no frame; the codec always has one.
SongIdPointer SongIdFromAudioInfo(const AudioInfo& info);

// The audio info of a track tag read from the player. A frame may hold
// its number as text or as an integer of any width; unknown frames are
// skipped.
AudioInfo AudioInfoFromSongId(const njb_songid_t& song);

}  // namespace tonvault::device
