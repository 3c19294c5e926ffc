#pragma once

#include "catalogue/TrackRecord.h"

namespace tonvault::catalogue {

// Plays rows of the player on the player ("Play selected files" on its
// rows); set by whoever holds the player page.
class PlayerPlayback {
 public:
  virtual ~PlayerPlayback() = default;
  // Before the first row: opens the player; false when it cannot play.
  virtual bool BeginQueueing() = 0;
  // Plays the row's track at once when nothing is playing or queued,
  // else queues it.
  virtual void PlayOrQueueRow(const TrackRecord& row) = 0;
  // After the last row: shows the queue again.
  virtual void EndQueueing() = 0;
};

}  // namespace tonvault::catalogue
