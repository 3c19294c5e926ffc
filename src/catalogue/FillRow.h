#pragma once

#include <memory>
#include <string>

#include "audio/ByteSource.h"
#include "audio/ScanHost.h"
#include "catalogue/ColumnMap.h"
#include "catalogue/Options.h"
#include "catalogue/TrackRecord.h"
#include "catalogue/VolumeLabels.h"
#include "files/FileError.h"

namespace tonvault::catalogue {

// What FillRow needs besides the row and the file.
struct FillContext {
  const ColumnMap& map;
  const Options& options;
  VolumeLabels& labels;
  audio::ScanHost& host;
};

// Raw values of the readers, beyond the row's texts, for tools that want
// numbers (the headless probe).
struct FillDetails {
  bool scanCorrupt = false;   // the VBR scan found the file corrupt (the caller beeps)
  int scanBadPlaces = -1;     // -1 when the scan did not run
  double lengthSeconds = 0;
  std::int64_t fileSize = 0;
  // Set when the file could not be opened (no permission, vanished, not a
  // regular file); then no reader ran.
  files::FileStatus openError;
};

inline constexpr const char* kCorruptText = "<Corrupt>";

// An audio file opened before its row is filled: the import opens the next
// few files while one is read and has the system fetch their first bytes
// meanwhile, then fills each row from the descriptor it already holds.
// Neither a source nor an error: not opened yet.
struct OpenedAudioFile {
  std::unique_ptr<audio::FileByteSource> source;
  files::FileStatus error;  // why the file could not be opened
};
OpenedAudioFile OpenAudioFile(const std::string& path);

// Fills one row from one audio file: name, folder and label, then by the
// extension the MPEG, WMA or WAV readers. Columns no step writes keep their
// text, so the same call refreshes an existing row after its file changed.
// The file is opened once for all its readers (or not at all when `opened`
// holds it already).
FillDetails FillRow(TrackRecord& row, const std::string& path, FillContext& context, OpenedAudioFile opened = {});

// The folder part of a path, ending with the separator, and the name part.
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);

// The lower-case extension ("" when the name has none).
std::string LowerExtension(const std::string& path);

}  // namespace tonvault::catalogue
