#include "device/tags/PlayerTagUpdate.h"

#include "catalogue/ListOperations.h"
#include "catalogue/LongOperation.h"
#include "device/tags/PlayerTagFields.h"

namespace tonvault::device {

using catalogue::Button;
using catalogue::Column;
using catalogue::ListId;
using catalogue::MessageKind;
using catalogue::Sound;
using catalogue::TrackRecord;

namespace {

std::string Line(int count, const char* text) { return std::to_string(count) + "\t" + text; }

std::string CountsText(const TagUpdateCounts& c) {
  return "Info:\n\r\r" + Line(c.notFound, "Files not found on NJB\n\r") + Line(c.tooDifferent, "Files to much different\n\r") +
         Line(c.equal, "Files equal on NJB\n\r\r") + Line(c.toUpdate, "Files to update");
}

void Inform(catalogue::Application& app, Sound sound, MessageKind kind, const std::string& text) {
  catalogue::Ask(app.frontend, sound, kind, text, {Button::Ok});
}

void Count(TagUpdateCounts& counts, const TagChanges& changes) {
  counts.genres += changes.genre;
  counts.trackNumbers += changes.trackNumber;
  counts.years += changes.year;
  counts.fileNames += changes.fileName;
  counts.bitrates += changes.bitrate;
  counts.comments += changes.comment;
}

std::string OrUnknown(std::string_view name) { return name.empty() ? std::string(kUnknownName) : std::string(name); }

}  // namespace

std::string DryRunReport(const TagUpdateCounts& c) {
  if (c.toUpdate < 1) return CountsText(c);
  return CountsText(c) + "\n\r\r\r" + Line(c.fileNames, "File names to update\n\r") + Line(c.genres, "Genres to update\n\r") +
         Line(c.comments, "Comments to update\n\r") + Line(c.years, "Year info to update\n\r") +
         Line(c.trackNumbers, "Track numbers to update\n\r") + Line(c.bitrates, "Bitrate info to update\n\r\r\r") +
         "Perform update ?";
}

TagUpdateCounts PlayerTagUpdate::RunTagUpdate(ListId list, bool dryRun) {
  TagUpdateCounts counts;
  app_.stopRequest = false;
  catalogue::StartProgress(app_);
  const auto& rows = catalogue::Rows(app_, list);
  const auto& map = app_.columnMap;
  Device& device = session_.CurrentDevice();
  for (std::size_t i = 0; i < rows.size() && !counts.failed; ++i) {
    const TrackRecord& row = rows[i];
    if (row.selected) {
      const int id = content_.Table().FindDeviceTrackId(OrUnknown(map.Get(row, Column::Artist)), map.Get(row, Column::Title),
                                                         OrUnknown(map.Get(row, Column::Album)));
      AudioInfo info;
      if (id < 0) {
        ++counts.notFound;
      } else if (device.GetTrackInfo(id, info) != kOk) {
        Inform(app_, Sound::Exclamation, MessageKind::Error, "Error getting track info from NJB");
        counts.failed = true;
      } else if (!SameFileOnPlayer(row, map, info)) {
        ++counts.tooDifferent;
      } else if (const TagChanges changes = TakeRowTags(row, map, info); !changes.Any()) {
        ++counts.equal;
      } else if (!dryRun && device.SetTrackInfo(id, info) != kOk) {
        Inform(app_, Sound::Exclamation, MessageKind::Error, "Error updating track info on NJB");
        counts.failed = true;
      } else {
        if (!dryRun) session_.PauseDevice();
        Count(counts, changes);
        ++counts.toUpdate;
      }
    }
    app_.frontend.SetProgress(0, static_cast<int>((i + 1) * catalogue::kProgressMaximum / rows.size()));
    catalogue::ShowTimeEstimate(app_, rows.size(), i + 1);
    app_.frontend.PumpEvents();
    if (catalogue::ConfirmStop(app_)) {
      counts.stopped = true;
      break;
    }
  }
  app_.frontend.SetProgress(0, 0);
  return counts;
}

bool PlayerTagUpdate::UpdatePlayerTags(ListId list, bool dryRun) {
  const TagUpdateCounts counts = RunTagUpdate(list, dryRun);
  if (!dryRun) {
    Inform(app_, Sound::Hand, MessageKind::Information, std::to_string(counts.toUpdate) + "  Files updated");
    return false;
  }
  if (counts.toUpdate < 1) {
    Inform(app_, Sound::Hand, MessageKind::Information, DryRunReport(counts));
    return false;
  }
  return catalogue::Ask(app_.frontend, Sound::Question, MessageKind::Confirmation, DryRunReport(counts),
                        {Button::Yes, Button::No}) == Button::Yes;
}

void PlayerTagUpdate::UpdateTagsOnNjb() {
  const ListId list = app_.currentPage == catalogue::Page::Results ? ListId::Results : ListId::Files;
  const auto& rows = catalogue::Rows(app_, list);
  if (catalogue::CountSelected(rows) == 0) {
    Inform(app_, Sound::Hand, MessageKind::Information, "No lines selected.");
    return;
  }
  for (const TrackRecord& row : rows) {
    if (row.selected && (row.icon == catalogue::StatusIcon::JukeboxTrack ||
                         row.icon == catalogue::StatusIcon::ProtectedJukeboxTrack)) {
      Inform(app_, Sound::Hand, MessageKind::Information,
             "Only files on PC can be used as\n\rsource for updating Tags on a NJB.");
      return;
    }
  }
  app_.stopRequest = false;
  {
    catalogue::LongOperation operation(app_, {});
    session_.SetDeviceReady(session_.StartDevice(false) && content_.EnsureDeviceTable());
    if (!session_.DeviceReady()) {
      Inform(app_, Sound::Exclamation, MessageKind::Error, "Error getting content of NJB");
    } else if (UpdatePlayerTags(list, true)) {
      UpdatePlayerTags(list, false);
      content_.Table().SetDeviceTableStale(true);
      app_.viewRebuildNeeded.genres = true;
      app_.viewRebuildNeeded.statistics = true;
    }
  }
  session_.SetDeviceReady(session_.StopDevice(false, false));
}

}  // namespace tonvault::device
