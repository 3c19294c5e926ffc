#pragma once

#include "catalogue/Application.h"
#include "device/content/PlayerContent.h"
#include "device/session/DeviceSession.h"

namespace tonvault::device {

// What a run of the tag update found: rows without a track on the player,
// rows too different from their track, tracks already equal, tracks to
// update, and per field the tracks where it changes.
struct TagUpdateCounts {
  int notFound = 0, tooDifferent = 0, equal = 0, toUpdate = 0;
  int fileNames = 0, genres = 0, comments = 0, years = 0, trackNumbers = 0, bitrates = 0;
  // A track could not be read or written; the run ended there.
  bool failed = false;
  // The user stopped the run.
  bool stopped = false;
};

// The report of a dry run: the information when nothing is to update, the
// question before the real run otherwise.
std::string DryRunReport(const TagUpdateCounts& counts);

// Bringing the player's track data in line with the catalogue rows of the
// files the tracks were copied from.
class PlayerTagUpdate {
 public:
  PlayerTagUpdate(catalogue::Application& app, DeviceSession& session, PlayerContent& content)
      : app_(app), session_(session), content_(content) {}

  // "&Update Tags on NJB": the selected rows of the list shown, a dry run,
  // and after its report was confirmed the real run.
  void UpdateTagsOnNjb();
  // The report of the dry run or of the real run; true when the dry run's
  // question was answered Yes.
  bool UpdatePlayerTags(catalogue::ListId list, bool dryRun);
  // One pass over the selected rows of `list` without a report; the real
  // run writes each changed track. The player must be ready and its table
  // current.
  TagUpdateCounts RunTagUpdate(catalogue::ListId list, bool dryRun);

 private:
  catalogue::Application& app_;
  DeviceSession& session_;
  PlayerContent& content_;
};

}  // namespace tonvault::device
