#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tonvault::tagging {

enum class Version { V1, V2 };

// The seven fields of each tag version, in the order the page shows them
// and the Copy toggles copy them.
enum class Field { Title, Artist, Album, Year, Comment, Track, Genre };
inline constexpr int kFieldCount = 7;
inline constexpr std::array<Field, kFieldCount> kAllFields = {Field::Title, Field::Artist, Field::Album, Field::Year,
                                                           Field::Comment, Field::Track, Field::Genre};

// The three states of a Track box, in click order.
enum class TrackBox { Take, Clear, Auto };
// The caption a Track box shows in each state.
std::string_view TrackBoxCaption(TrackBox box);

// How the page colours a new value against the file's value.
enum class Mark { None, Changed, Equal };

// One tag version on the page: the file's values (panels), the new values,
// the keep boxes, the Track box, and the per-version toggles. V1 Genre holds
// the chosen entry of the genre list ("" for the empty entry), V1 Track the
// number as text ("" for 0).
struct VersionState {
  std::array<std::string, kFieldCount> panel;
  std::array<std::string, kFieldCount> value;
  std::array<bool, kFieldCount> keep{};  // unused for Track, which has its box
  std::array<Mark, kFieldCount> mark{};
  TrackBox trackBox = TrackBox::Take;
  bool saveChanges = false;
  bool removeTag = false;
  bool tagFound = false;  // false shows the group greyed

  std::string& Value(Field f) { return value[static_cast<std::size_t>(f)]; }
  const std::string& Value(Field f) const { return value[static_cast<std::size_t>(f)]; }
  std::string& Panel(Field f) { return panel[static_cast<std::size_t>(f)]; }
  const std::string& Panel(Field f) const { return panel[static_cast<std::size_t>(f)]; }
  bool Keep(Field f) const { return f == Field::Track ? trackBox == TrackBox::Auto : keep[static_cast<std::size_t>(f)]; }
  Mark MarkOf(Field f) const { return mark[static_cast<std::size_t>(f)]; }
};

// The widest V1 value in bytes of the tag's single-byte code page.
std::size_t V1Width(Field field);
// True when `text` (UTF-8) fits the V1 field once converted to the code page
// the ID3v1 writer stores.
bool FitsV1Field(Field field, std::string_view text);

// The genre list of the V1 Genre choice: the empty entry, then the genre
// table sorted alphabetically.
const std::vector<std::string>& V1GenreEntries();

// `text` without leading and trailing blanks.
std::string TrimBlanks(std::string_view text);
// The first `count` characters of UTF-8 `text`.
std::string FirstCharacters(std::string_view text, std::size_t count);

// The V1 track number text for `number`: "" unless 1..127.
std::string V1TrackText(int number);
// The V1 track number a text stands for (0 for an empty or foreign text).
int V1TrackNumber(std::string_view text);

// The value a V2 field gives the V1 field when copied: cut to the V1
// width, Track only when 1..127, Genre the list entry equal ignoring ASCII
// case (or the empty entry).
std::string V2ToV1(Field field, std::string_view v2Value);
// The value a V1 field gives the V2 field when copied.
std::string V1ToV2(Field field, std::string_view v1Value);

// The automatic V2 track: `number` with leading zeros up to `digits`.
std::string PaddedTrack(int number, int digits);

}  // namespace tonvault::tagging
