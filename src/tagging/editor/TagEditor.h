#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "audio/Id3v2Tag.h"
#include "catalogue/Application.h"
#include "tagging/editor/EditFields.h"

namespace tonvault::tagging {

// One file (or player track) the editor works through.
struct EditEntry {
  std::string fileName;  // Path + Filename; empty for a player track
  std::size_t row = 0;   // index in the list the entry came from
  char source = 'F';     // 'F' FILES, 'R' RESULTS
};

// What the player offers the editor when the selected rows are tracks on a
// Nomad Jukebox. Installed by the device layer; without it such rows are
// refused.
class PlayerTags {
 public:
  virtual ~PlayerTags() = default;
  virtual bool StartDevice() = 0;
  virtual void StopDevice() = 0;
  // Writes the V2 values to the track of `entry`; false stops "Save &All".
  // The player may complete `values` (names it needs in place of empty ones).
  virtual bool SavePlayerTags(const EditEntry& entry, VersionState& values) = 0;
};

// Where the page should put the keyboard focus after an entry was shown.
enum class EditorFocus { None, V1Title, V2Title };

inline constexpr const char* kSelectLinesFirst = "Please select lines in FILES or RESULTS first.";
inline constexpr const char* kOnlyLoadedJukeboxFiles = "Only actual loaded NJB-Files can be tagged.";
inline constexpr const char* kBothListsQuestion =
    "You have slected files in FILES and RESULTS.\n\r\rDo you want to change files from FILES ?\n\r(No = RESULTS)";

// The ID3 editor: every rule of the page without a widget. The page shows
// the public state and forwards each user action to one call; after each
// call that changed something the listener runs, and the page redraws.
class TagEditor : public catalogue::EditorHooks {
 public:
  explicit TagEditor(catalogue::Application& app);
  ~TagEditor() override;
  TagEditor(const TagEditor&) = delete;
  TagEditor& operator=(const TagEditor&) = delete;

  void SetListener(std::function<void()> listener) { listener_ = std::move(listener); }
  void SetPlayerTags(PlayerTags* player) { player_ = player; }

  // --- page change ---
  void OpenEditor() override;
  void LeaveEditor() override;
  void RefreshEditor() override;

  // --- the entry on display ---
  void ShowEditEntry();
  [[nodiscard]] bool SaveEditEntry(int which);
  // Saves the entry on display: through the player in player-tag mode
  // (its V2 values), else as SaveEditEntry(which).
  [[nodiscard]] bool SaveEntry(int which);
  void MarkChangedFields();

  // --- user actions ---
  void TypeValue(Version version, Field field, const std::string& text);
  void ChooseV1Genre(const std::string& entry);
  void SetV1Track(int track);  // the up/down arrows; 0 empties the field
  void ClickKeep(Version version, Field field);
  void ClickTrackBox(Version version);
  void CopyField(Version from, Field field);
  void SetCopyToV2(bool down);
  void SetCopyToV1(bool down);
  void SetSaveChanges(Version version, bool down);
  void SetRemoveTag(Version version, bool down);
  void SetKeepOldContent(bool down);
  void SetMore(bool down);
  void SetStartWith(int value);
  void SetDigits(int value);
  void SetKeepFileDate(bool on);
  void Save();     // "&Save"
  void SaveAll();  // "Save &All"
  void Next();
  void Previous();
  void First();
  void ReadAgain();

  // --- for the commands that work on the files of the list ---
  // True while the editor shows files on disk (command state 9).
  bool ShowsDiskFiles() const { return open_ && !playerTagMode_ && !editList_.empty(); }
  catalogue::Application& App() const { return app_; }
  // The new values of one version, for commands that fill them.
  VersionState& Values(Version version) { return Mutable(version); }
  // The file of the entry on display now has `newName`: the entry holds it,
  // and its row and the row of the same file in the other list are filled
  // from it.
  void EntryRenamed(const std::string& newName);
  // After a single-file command succeeded: the next entry when "Show next
  // file after save" is on; the entry again when it is the last.
  void ShowNextAfterSave();
  // Runs a single-file command on the entry on display and, when it
  // succeeds, moves on as a save does.
  void RunOnDisplay(const std::function<bool()>& command);
  // Runs `each` for every entry (files or player tracks) as one long
  // operation, showing each entry first; the first `each` that returns false
  // ends the run. The current entry is shown again at the end. Returns false
  // when an entry failed.
  bool RunOverAll(const std::function<bool()>& each);

  // --- state the page shows ---
  const std::vector<EditEntry>& EditList() const { return editList_; }
  std::size_t EditIndex() const { return editIndex_; }
  catalogue::ListId EditSource() const { return editSource_; }
  bool PlayerTagMode() const { return playerTagMode_; }
  bool SaveAllRunning() const { return saveAllRunning_; }
  bool IsOpen() const { return open_; }

  const VersionState& V1() const { return v1_; }
  const VersionState& V2() const { return v2_; }
  const VersionState& Of(Version version) const { return version == Version::V1 ? v1_ : v2_; }
  bool CopyToV2() const { return copyToV2_; }
  bool CopyToV1() const { return copyToV1_; }
  bool KeepOldContent() const { return app_.options.id3.keepOldContent; }
  bool More() const { return more_; }
  int StartWith() const;
  int Digits() const;

  const std::string& FileLine() const { return fileLine_; }
  bool FileMissing() const { return fileMissing_; }
  const std::string& ExtendedCaption() const { return extendedCaption_; }
  const std::vector<audio::Id3v2FrameRow>& Frames() const { return frames_; }
  bool SaveEnabled() const { return saveEnabled_; }
  bool PreviousEnabled() const { return previousEnabled_; }
  bool NextEnabled() const { return nextEnabled_; }
  EditorFocus Focus() const { return focus_; }
  // Counts the entries shown, so the page moves the focus only for a new one.
  std::size_t EntriesShown() const { return entriesShown_; }

 private:
  VersionState& Mutable(Version version) { return version == Version::V1 ? v1_ : v2_; }
  void SetCopyInto(Version target, bool down);
  bool ChooseSource(bool& asked);
  bool Refuse(const char* text);
  void ShowDiskEntry();
  void ShowPlayerEntry();
  void ApplyAutoNumberV1();
  void ApplyAutoNumberV2();
  void CopyAll(Version from);
  void CopyOne(Version from, Field field);
  void Arm(Version version);
  void UpdateSaveButtons();
  // Keep boxes, Track boxes, Remove Tag and the copy toggles back up:
  // after Save All and when the page is left.
  void ReleaseSwitches();
  void RefillRows(const EditEntry& entry);
  // The loop of the commands over all entries, inside one long operation.
  bool RunEntries(const std::function<bool()>& each);
  void Notify();

  catalogue::Application& app_;
  PlayerTags* player_ = nullptr;
  std::function<void()> listener_;

  std::vector<EditEntry> editList_;
  std::size_t editIndex_ = 0;
  catalogue::ListId editSource_ = catalogue::ListId::Files;
  bool playerTagMode_ = false;
  bool saveAllRunning_ = false;
  bool open_ = false;

  VersionState v1_;
  VersionState v2_;
  bool copyToV2_ = false;
  bool copyToV1_ = false;
  bool more_ = false;

  std::string fileLine_;
  bool fileMissing_ = false;
  std::string extendedCaption_;
  std::vector<audio::Id3v2FrameRow> frames_;
  bool saveEnabled_ = false;
  bool previousEnabled_ = false;
  bool nextEnabled_ = false;
  EditorFocus focus_ = EditorFocus::None;
  std::size_t entriesShown_ = 0;
};

}  // namespace tonvault::tagging
