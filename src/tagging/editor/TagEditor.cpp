#include "tagging/editor/TagEditor.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "audio/Genres.h"
#include "audio/Id3v1.h"
#include "catalogue/FillRow.h"
#include "catalogue/LongOperation.h"
#include "catalogue/PageChange.h"
#include "catalogue/RefillRow.h"
#include "catalogue/TagWriting.h"

namespace tonvault::tagging {

using catalogue::Button;
using catalogue::Column;
using catalogue::ListId;
using catalogue::MessageKind;
using catalogue::Page;
using catalogue::Sound;

namespace {

// The kinds of selected rows the editor tells apart when it opens.
struct RowClasses {
  bool jukebox = false, nomadII = false, wma = false, wav = false, disk = false;
  bool jukeboxWithoutPlayerSlots = false;
};

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

RowClasses Classify(const std::vector<catalogue::TrackRecord>& rows, const catalogue::ColumnMap& map) {
  RowClasses classes;
  for (const catalogue::TrackRecord& row : rows) {
    if (!row.selected) continue;
    const std::string& path = map.Get(row, Column::Path);
    const std::string& codec = map.Get(row, Column::Codec);
    if (Contains(path, "--- NJB")) {
      classes.jukebox = true;
      if (row.texts.size() < static_cast<std::size_t>(catalogue::kPlayerRowSlots)) classes.jukeboxWithoutPlayerSlots = true;
    } else if (Contains(path, "--- N II")) {
      classes.nomadII = true;
    } else if (Contains(codec, "WMA")) {
      classes.wma = true;
    } else if (Contains(codec, "WAV")) {
      classes.wav = true;
    } else {
      classes.disk = true;
    }
  }
  return classes;
}

bool FileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

std::string ExtendedCaptionOf(const audio::Id3v2Values& tag) {
  if (!tag.present) return " Extended ID3 V 2 Info ";
  return " Extended ID3 V 2." + std::to_string(tag.version / 10) + "." + std::to_string(tag.version % 10) + " Info  (" +
         std::to_string(tag.totalLength) + " Bytes  -  " + std::to_string(tag.totalLength - tag.usedLength) +
         " unused) ";
}

// Puts a file's value into a new value unless the field keeps its content
// or the file has nothing there.
void TakeValue(VersionState& state, Field field, const std::string& fileValue) {
  if (!state.Keep(field) && !fileValue.empty()) state.Value(field) = fileValue;
}

}  // namespace

TagEditor::TagEditor(catalogue::Application& app) : app_(app) { app_.editorHooks = this; }

TagEditor::~TagEditor() {
  if (app_.editorHooks == this) app_.editorHooks = nullptr;
}

int TagEditor::Digits() const { return std::clamp(app_.options.id3.trackNumberDigits, 1, 4); }

int TagEditor::StartWith() const { return std::clamp(app_.options.id3.trackNumberStart, 1, 1000); }

void TagEditor::Notify() {
  if (listener_) listener_();
}

// --- opening and leaving ---

bool TagEditor::ChooseSource(bool& cancelled) {
  const bool files = catalogue::CountSelected(app_.files) > 0;
  const bool results = catalogue::CountSelected(app_.results) > 0;
  if (app_.lastPage == Page::Files && files) {
    editSource_ = ListId::Files;
  } else if (app_.lastPage == Page::Results && results) {
    editSource_ = ListId::Results;
  } else if (files != results) {
    editSource_ = files ? ListId::Files : ListId::Results;
  } else if (files) {
    const Button answer = catalogue::Ask(app_.frontend, Sound::Question, MessageKind::Confirmation, kBothListsQuestion,
                                         {Button::Yes, Button::No, Button::Cancel});
    if (answer == Button::Cancel) {
      cancelled = true;
      return false;
    }
    editSource_ = answer == Button::Yes ? ListId::Files : ListId::Results;
  } else {
    return false;
  }
  return true;
}

bool TagEditor::Refuse(const char* text) {
  app_.frontend.Beep(Sound::Hand);
  catalogue::ChangePage(app_, Page::Files);
  app_.frontend.ShowMessage(MessageKind::Information, text, {Button::Ok});
  return true;
}

void TagEditor::OpenEditor() {
  open_ = false;
  playerTagMode_ = false;
  editList_.clear();
  editIndex_ = 0;
  bool quiet = false;  // a message was shown or the question cancelled
  if (ChooseSource(quiet)) {
    const auto& rows = catalogue::Rows(app_, editSource_);
    const RowClasses classes = Classify(rows, app_.columnMap);
    if (classes.wma) {
      quiet = Refuse("WMA-files cannot be tagged.");
    } else if (classes.wav) {
      quiet = Refuse("Wave-files cannot be tagged.");
    } else if (classes.nomadII) {
      quiet = Refuse("Files on Nomad II cannot be tagged.");
    } else if (classes.disk && classes.jukebox) {
      quiet = Refuse("No mixed tagging of PC- and NJB-files.");
    } else if (classes.jukebox && (classes.jukeboxWithoutPlayerSlots || player_ == nullptr)) {
      quiet = Refuse(kOnlyLoadedJukeboxFiles);
    } else {
      playerTagMode_ = classes.jukebox;
      const char letter = editSource_ == ListId::Files ? 'F' : 'R';
      for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i].selected || app_.columnMap.Get(rows[i], Column::Path).empty()) continue;
        EditEntry entry{playerTagMode_ ? std::string() : catalogue::FileOfRow(rows[i], app_.columnMap), i, letter};
        editList_.push_back(std::move(entry));
      }
      if (!editList_.empty() && playerTagMode_) {
        catalogue::SetCommandState(app_, 0);
        if (player_->StartDevice()) {
          v2_.saveChanges = true;
          catalogue::SetCommandState(app_, 10);
          open_ = true;
        } else {
          quiet = true;
        }
      } else if (!editList_.empty()) {
        catalogue::SetCommandState(app_, 9);
        open_ = true;
      }
    }
  }
  if (open_) {
    editIndex_ = 0;
    ShowEditEntry();
    return;
  }
  editList_.clear();
  playerTagMode_ = false;
  if (app_.currentPage != Page::Files) catalogue::ChangePage(app_, Page::Files);
  if (!quiet) {
    catalogue::Ask(app_.frontend, Sound::Hand, MessageKind::Information, kSelectLinesFirst, {Button::Ok});
  }
  Notify();
}

void TagEditor::LeaveEditor() {
  ReleaseSwitches();
  if (playerTagMode_ && player_ != nullptr) player_->StopDevice();
  open_ = false;
  Notify();
}

void TagEditor::RefreshEditor() {
  catalogue::SetCommandState(app_, open_ && playerTagMode_ ? 10 : 9);
  app_.frontend.SetStatusPanel(0, open_ ? "Files to tag:  " + std::to_string(editList_.size()) : std::string());
  app_.frontend.SetStatusPanel(1, open_ ? "On display:  " + std::to_string(editIndex_ + 1) : std::string());
}

// --- showing an entry ---

void TagEditor::ShowEditEntry() {
  if (editList_.empty()) return;
  editIndex_ = std::min(editIndex_, editList_.size() - 1);
  focus_ = EditorFocus::None;
  ++entriesShown_;
  if (playerTagMode_) {
    ShowPlayerEntry();
  } else {
    ShowDiskEntry();
  }
  Notify();
}

void TagEditor::ShowDiskEntry() {
  fileMissing_ = false;
  for (VersionState* state : {&v1_, &v2_}) {
    for (Field field : kAllFields) {
      state->Panel(field).clear();
      if (!state->Keep(field)) state->Value(field).clear();
    }
    state->tagFound = false;
  }
  const std::string& name = editList_[editIndex_].fileName;
  fileLine_ = "Filename:   " + name;
  frames_.clear();
  extendedCaption_ = ExtendedCaptionOf({});

  if (!FileExists(name)) {
    fileLine_ = "File   " + name + "   NOT FOUND";
    fileMissing_ = true;
    if (!saveAllRunning_) saveEnabled_ = false;
    app_.frontend.Beep(Sound::Default);
  } else {
    const audio::Id3v1Tag tag1 = audio::ReadId3v1Tag(name);
    if (tag1.present) {
      v1_.tagFound = true;
      const std::string genre(audio::GenreName(tag1.genre));
      const std::array<std::string, kFieldCount> values = {
          tag1.title, tag1.artist, tag1.album, tag1.year, tag1.comment,
          tag1.track >= 1 ? std::to_string(tag1.track) : std::string(), genre};
      for (Field field : kAllFields) {
        v1_.Panel(field) = values[static_cast<std::size_t>(field)];
        if (field != Field::Track) TakeValue(v1_, field, v1_.Panel(field));
      }
      // A track above 127 is shown but cannot go into the 1..127 field.
      if (v1_.trackBox == TrackBox::Take) v1_.Value(Field::Track) = V1TrackText(tag1.track);
      if (v1_.trackBox == TrackBox::Clear) v1_.Value(Field::Track).clear();
    }
    ApplyAutoNumberV1();

    const audio::Id3v2Values tag2 = audio::ReadId3v2Tag(name);
    extendedCaption_ = ExtendedCaptionOf(tag2);
    if (tag2.present) {
      v2_.tagFound = true;
      const std::array<std::string, kFieldCount> values = {tag2.title, tag2.artist, tag2.album, tag2.year,
                                                           tag2.comment, tag2.track, tag2.genre};
      for (Field field : kAllFields) {
        v2_.Panel(field) = values[static_cast<std::size_t>(field)];
        if (field != Field::Track) TakeValue(v2_, field, v2_.Panel(field));
      }
      if (v2_.trackBox == TrackBox::Take) TakeValue(v2_, Field::Track, tag2.track);
      if (v2_.trackBox == TrackBox::Clear) v2_.Value(Field::Track).clear();
    }
    frames_ = audio::ListId3v2Frames(name).rows;
    ApplyAutoNumberV2();
    if (v1_.tagFound && copyToV2_) CopyAll(Version::V1);
    if (v2_.tagFound && copyToV1_) CopyAll(Version::V2);
  }

  MarkChangedFields();
  if (!saveAllRunning_) {
    UpdateSaveButtons();
    previousEnabled_ = editIndex_ > 0;
    nextEnabled_ = editIndex_ + 1 < editList_.size();
    app_.frontend.SetStatusPanel(1, "On display:  " + std::to_string(editIndex_ + 1));
  }
  app_.frontend.SetStatusPanel(0, "Files to tag:  " + std::to_string(editList_.size()));
  if (app_.commandStateCode != 0 && v2_.saveChanges) focus_ = EditorFocus::V2Title;
}

void TagEditor::ShowPlayerEntry() {
  const EditEntry& entry = editList_[editIndex_];
  const auto& rows = catalogue::Rows(app_, entry.source == 'F' ? ListId::Files : ListId::Results);
  fileMissing_ = false;
  fileLine_.clear();
  for (Field field : kAllFields) {
    v2_.Panel(field).clear();
    if (!v2_.Keep(field)) v2_.Value(field).clear();
  }
  v2_.tagFound = entry.row < rows.size();
  if (v2_.tagFound) {
    const catalogue::TrackRecord& row = rows[entry.row];
    const auto& map = app_.columnMap;
    const std::array<std::string, kFieldCount> values = {
        map.Get(row, Column::Title), map.Get(row, Column::Artist),  map.Get(row, Column::Album),
        map.Get(row, Column::Year),  map.Get(row, Column::Comment), map.Get(row, Column::Track),
        map.Get(row, Column::Genre)};
    for (Field field : kAllFields) {
      v2_.Panel(field) = values[static_cast<std::size_t>(field)];
      if (field != Field::Track) TakeValue(v2_, field, v2_.Panel(field));
    }
    if (v2_.trackBox == TrackBox::Take) TakeValue(v2_, Field::Track, v2_.Panel(Field::Track));
  }
  ApplyAutoNumberV2();
  MarkChangedFields();
  if (!saveAllRunning_) {
    UpdateSaveButtons();
    previousEnabled_ = editIndex_ > 0;
    nextEnabled_ = editIndex_ + 1 < editList_.size();
    app_.frontend.SetStatusPanel(1, "On display:  " + std::to_string(editIndex_ + 1));
  }
  app_.frontend.SetStatusPanel(0, "Files to tag:  " + std::to_string(editList_.size()));
  focus_ = EditorFocus::V2Title;
}

void TagEditor::ApplyAutoNumberV1() {
  const auto number = static_cast<std::size_t>(StartWith()) + editIndex_;
  if (v1_.trackBox == TrackBox::Auto && number < 128) v1_.Value(Field::Track) = std::to_string(number);
}

void TagEditor::ApplyAutoNumberV2() {
  if (v2_.trackBox != TrackBox::Auto) return;
  v2_.Value(Field::Track) = PaddedTrack(StartWith() + static_cast<int>(editIndex_), Digits());
}

void TagEditor::MarkChangedFields() {
  for (VersionState* state : {&v1_, &v2_}) {
    for (Field field : kAllFields) {
      const std::string& panel = state->Panel(field);
      Mark& mark = state->mark[static_cast<std::size_t>(field)];
      mark = panel.empty() ? Mark::None : state->Value(field) == panel ? Mark::Equal : Mark::Changed;
    }
  }
}

// --- arming and releasing ---

void TagEditor::UpdateSaveButtons() {
  saveEnabled_ = (v1_.saveChanges || v2_.saveChanges) && !fileMissing_;
  if (!v1_.saveChanges) {
    v1_.removeTag = false;
    copyToV1_ = false;
  }
  if (!v2_.saveChanges) {
    v2_.removeTag = false;
    app_.options.id3.keepOldContent = false;
    copyToV2_ = false;
  }
}

void TagEditor::Arm(Version version) {
  Mutable(version).saveChanges = true;
  UpdateSaveButtons();
}

void TagEditor::CopyOne(Version from, Field field) {
  const VersionState& source = Of(from);
  VersionState& target = Mutable(from == Version::V1 ? Version::V2 : Version::V1);
  if (!target.Keep(field)) {
    target.Value(field) = from == Version::V1 ? V1ToV2(field, source.Value(field)) : V2ToV1(field, source.Value(field));
  }
  target.saveChanges = true;
  MarkChangedFields();
  UpdateSaveButtons();
}

void TagEditor::CopyAll(Version from) {
  for (Field field : kAllFields) CopyOne(from, field);
}

void TagEditor::CopyField(Version from, Field field) {
  if (playerTagMode_) return;
  CopyOne(from, field);
  Notify();
}

void TagEditor::TypeValue(Version version, Field field, const std::string& text) {
  if (version == Version::V1 && (field == Field::Track || field == Field::Genre || !FitsV1Field(field, text))) return;
  Mutable(version).Value(field) = text;
  MarkChangedFields();
  Arm(version);
  Notify();
}

void TagEditor::ChooseV1Genre(const std::string& entry) {
  const auto& entries = V1GenreEntries();
  if (std::find(entries.begin(), entries.end(), entry) == entries.end()) return;
  v1_.Value(Field::Genre) = entry;
  MarkChangedFields();
  Arm(Version::V1);
  Notify();
}

void TagEditor::SetV1Track(int track) {
  v1_.Value(Field::Track) = V1TrackText(std::clamp(track, 0, 127));
  MarkChangedFields();
  Arm(Version::V1);
  Notify();
}

void TagEditor::ClickKeep(Version version, Field field) {
  if (field == Field::Track) return;
  bool& keep = Mutable(version).keep[static_cast<std::size_t>(field)];
  keep = !keep;
  Arm(version);
  Notify();
}

void TagEditor::ClickTrackBox(Version version) {
  VersionState& state = Mutable(version);
  state.trackBox = state.trackBox == TrackBox::Take ? TrackBox::Clear
                   : state.trackBox == TrackBox::Clear ? TrackBox::Auto
                                                        : TrackBox::Take;
  std::string& track = state.Value(Field::Track);
  if (version == Version::V1) {
    if (state.trackBox == TrackBox::Take) track = V1TrackText(V1TrackNumber(state.Panel(Field::Track)));
    if (state.trackBox == TrackBox::Clear) track.clear();
    ApplyAutoNumberV1();
  } else {
    if (state.trackBox == TrackBox::Take) track = state.Panel(Field::Track);
    if (state.trackBox == TrackBox::Clear) track.clear();
    ApplyAutoNumberV2();
    if (state.trackBox == TrackBox::Auto && StartWith() != 1) {
      catalogue::Ask(app_.frontend, Sound::Exclamation, MessageKind::Warning,
                     "Auto numbering starts with " + std::to_string(StartWith()), {Button::Ok});
    }
  }
  MarkChangedFields();
  Arm(version);
  Notify();
}

void TagEditor::SetCopyToV2(bool down) { SetCopyInto(Version::V2, down); }

void TagEditor::SetCopyToV1(bool down) { SetCopyInto(Version::V1, down); }

// "Copy to V 2" / "Copy to V 1": down copies every field of the other
// version into `target`, arms its save and releases the opposite toggle.
void TagEditor::SetCopyInto(Version target, bool down) {
  const bool intoV2 = target == Version::V2;
  (intoV2 ? copyToV2_ : copyToV1_) = down;
  if (down) {
    (intoV2 ? copyToV1_ : copyToV2_) = false;
    Mutable(target).removeTag = false;
    Mutable(target).saveChanges = true;
    CopyAll(intoV2 ? Version::V1 : Version::V2);
  }
  Notify();
}

void TagEditor::SetSaveChanges(Version version, bool down) {
  Mutable(version).saveChanges = down;
  UpdateSaveButtons();
  Notify();
}

void TagEditor::SetRemoveTag(Version version, bool down) {
  Mutable(version).removeTag = down;
  if (down) {
    // A removed tag takes nothing copied into it, and keeps nothing.
    if (version == Version::V1) {
      copyToV1_ = false;
    } else {
      copyToV2_ = false;
      app_.options.id3.keepOldContent = false;
    }
    Arm(version);
  }
  Notify();
}

void TagEditor::SetKeepOldContent(bool down) {
  app_.options.id3.keepOldContent = down;
  if (down) {
    v2_.removeTag = false;
    Arm(Version::V2);
  }
  Notify();
}

void TagEditor::SetMore(bool down) {
  more_ = down;
  Notify();
}

void TagEditor::SetStartWith(int value) {
  app_.options.id3.trackNumberStart = std::clamp(value, 1, 1000);
  Notify();
}

void TagEditor::SetDigits(int value) {
  app_.options.id3.trackNumberDigits = std::clamp(value, 1, 4);
  Notify();
}

void TagEditor::SetKeepFileDate(bool on) {
  app_.options.id3.keepOriginalFileDate = on;
  Notify();
}

// --- saving ---

bool TagEditor::SaveEditEntry(int which) {
  if (editList_.empty() || playerTagMode_) return false;
  const EditEntry entry = editList_[editIndex_];
  const std::string& name = entry.fileName;
  if (v1_.saveChanges || which == 1) {
    audio::Id3v1Fields fields;
    fields.title = v1_.Value(Field::Title);
    fields.artist = v1_.Value(Field::Artist);
    fields.album = v1_.Value(Field::Album);
    fields.comment = v1_.Value(Field::Comment);
    fields.year = v1_.Value(Field::Year);
    fields.genre = audio::GenreNumber(TrimBlanks(v1_.Value(Field::Genre))).value_or(audio::kNoGenre);
    fields.track = V1TrackNumber(v1_.Value(Field::Track));
    // The writer has told the user why; the second writer is not tried, so
    // one failure gives one message.
    if (!catalogue::WriteId3v1(app_, name, fields, which == 0 && v1_.removeTag)) return false;
  }
  if (v2_.saveChanges || which == 2) {
    audio::Id3v2TagFields fields;
    fields.title = v2_.Value(Field::Title);
    fields.artist = v2_.Value(Field::Artist);
    fields.album = v2_.Value(Field::Album);
    fields.comment = v2_.Value(Field::Comment);
    fields.year = v2_.Value(Field::Year);
    fields.track = v2_.Value(Field::Track);
    fields.genre = v2_.Value(Field::Genre);
    if (!catalogue::WriteId3v2(app_, name, fields, which == 0 && v2_.removeTag)) return false;
  }
  RefillRows(entry);
  return true;
}

bool TagEditor::SaveEntry(int which) {
  if (!playerTagMode_) return SaveEditEntry(which);
  return open_ && player_ != nullptr && editIndex_ < editList_.size() &&
         player_->SavePlayerTags(editList_[editIndex_], v2_);
}

void TagEditor::RefillRows(const EditEntry& entry) {
  catalogue::RefillRowAndTwin(app_, editSource_, entry.row, entry.fileName);
}

void TagEditor::Save() {
  if (!open_ || editList_.empty() || !saveEnabled_) return;
  if (!playerTagMode_) {
    if (copyToV2_) CopyAll(Version::V1);
    if (copyToV1_) CopyAll(Version::V2);
  }
  const bool saved = SaveEntry(0);
  // A failed write leaves the entry and its typed values on display.
  if (!saved) {
    Notify();
    return;
  }
  ShowNextAfterSave();
}

void TagEditor::ShowNextAfterSave() {
  if (app_.options.id3.nextSave) Next();
  if (!nextEnabled_) ShowEditEntry();
  Notify();
}

void TagEditor::RunOnDisplay(const std::function<bool()>& command) {
  if (ShowsDiskFiles() && command()) ShowNextAfterSave();
}

void TagEditor::EntryRenamed(const std::string& newName) {
  if (editList_.empty()) return;
  EditEntry& entry = editList_[editIndex_];
  entry.fileName = newName;
  fileLine_ = "Filename:   " + newName;
  RefillRows(entry);
  Notify();
}

bool TagEditor::RunOverAll(const std::function<bool()>& each) {
  if (!open_ || editList_.empty()) return false;
  const bool done = RunEntries(each);
  ShowEditEntry();
  return done;
}

bool TagEditor::RunEntries(const std::function<bool()>& each) {
  saveAllRunning_ = true;
  bool failed = false;
  const std::size_t total = editList_.size();
  {
    catalogue::LongOperation operation(app_, {1, {}});
    operation.EndOnPage(Page::Id3Editor);
    for (std::size_t n = 0; n < total; ++n) {
      editIndex_ = n;
      ShowEditEntry();
      if (!each()) {
        failed = true;
        break;
      }
      if (!operation.ItemDone(n + 1, total)) break;
    }
    // The operation's end refreshes the editor: its command state and status texts.
  }
  saveAllRunning_ = false;
  return !failed;
}

void TagEditor::ReleaseSwitches() {
  for (VersionState* state : {&v1_, &v2_}) {
    state->keep.fill(false);
    state->trackBox = TrackBox::Take;
    state->removeTag = false;
  }
  copyToV2_ = copyToV1_ = false;
  app_.options.id3.keepOldContent = false;
}

void TagEditor::SaveAll() {
  if (!open_ || editList_.empty() || !saveEnabled_) return;
  const bool saved = RunEntries([this] { return SaveEntry(0); });
  if (!saved) {
    // The file that could not be written stays on display as it was tried,
    // with every box and toggle, so the user can put it right.
    UpdateSaveButtons();
    previousEnabled_ = editIndex_ > 0;
    nextEnabled_ = editIndex_ + 1 < editList_.size();
    Notify();
    return;
  }
  ReleaseSwitches();
  ShowEditEntry();
}

// --- navigation ---

void TagEditor::Next() {
  if (editIndex_ + 1 >= editList_.size()) {
    app_.frontend.Beep(Sound::Default);
    return;
  }
  ++editIndex_;
  ShowEditEntry();
}

void TagEditor::Previous() {
  if (editIndex_ == 0) {
    app_.frontend.Beep(Sound::Default);
    return;
  }
  --editIndex_;
  ShowEditEntry();
}

void TagEditor::First() {
  editIndex_ = 0;
  ShowEditEntry();
}

void TagEditor::ReadAgain() { ShowEditEntry(); }

}  // namespace tonvault::tagging
