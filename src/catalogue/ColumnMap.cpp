#include "catalogue/ColumnMap.h"

namespace tonvault::catalogue {

namespace {

// Key words tested against a heading, in this order; the first one found
// decides the column. Codec answers to two words.
struct HeadingKey {
  std::string_view word;
  Column column;
};
constexpr std::array<HeadingKey, 17> kHeadingKeys = {{
    {"Album", Column::Album},
    {"Artist", Column::Artist},
    {"Title", Column::Title},
    {"Genre", Column::Genre},
    {"Track", Column::Track},
    {"Year", Column::Year},
    {"Comment", Column::Comment},
    {"Size", Column::Size},
    {"Bitrate", Column::Bitrate},
    {"Freq", Column::Freq},
    {"Mode", Column::Mode},
    {"Length", Column::Length},
    {"MPEG", Column::Codec},
    {"Codec", Column::Codec},
    {"Filename", Column::Filename},
    {"Path", Column::Path},
    {"Label", Column::Label},
}};

}  // namespace

ColumnMap::ColumnMap() {
  for (int i = 0; i < kLogicalColumnCount; ++i) slots_[static_cast<std::size_t>(i)] = i;
}

int ColumnMap::ColumnInSlot(int slot) const {
  for (int c = 0; c < kLogicalColumnCount; ++c) {
    if (slots_[static_cast<std::size_t>(c)] == slot) return c;
  }
  return -1;
}

SlotText ColumnMap::Get(const TrackRecord& row, Column column) const {
  return row.texts[static_cast<std::size_t>(SlotOf(column))];
}

void ColumnMap::Set(TrackRecord& row, Column column, std::string_view text) const {
  row.texts.Set(static_cast<std::size_t>(SlotOf(column)), text);
}

void ColumnMap::RebuildFromHeadings(const std::vector<std::string>& headings) {
  const int count = std::min<int>(static_cast<int>(headings.size()), kLogicalColumnCount);
  for (int slot = 0; slot < count; ++slot) {
    const std::string& heading = headings[static_cast<std::size_t>(slot)];
    for (const HeadingKey& key : kHeadingKeys) {
      if (heading.find(key.word) != std::string::npos) {
        slots_[static_cast<std::size_t>(key.column)] = slot;
        break;
      }
    }
  }
}

bool ColumnMap::IsIdentity() const { return *this == ColumnMap(); }

bool IsPlayerRow(const TrackRecord& row, const ColumnMap& map) {
  return IsPlayerPath(map.Get(row, Column::Path));
}

std::string FileOfRow(const TrackRecord& row, const ColumnMap& map) {
  std::string file(map.Get(row, Column::Path));
  return file.append(map.Get(row, Column::Filename));
}

}  // namespace tonvault::catalogue
